#include "modules/displays/ui/display_dialogs.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "shell/ui/dialog_rows.h"
#include "shell/user_prompts.h"
#include "texts/text_ids.h"

namespace displays {

namespace {

using namespace dialog_id;
using shell::cancelButton, shell::numberField, shell::okButton, shell::pushButton,
    shell::radioButton, shell::readOnly;

constexpr shell::ControlRow kGearRows[] = {
    readOnly(shell::textField(kSymbol, "Gang", 2)),
    readOnly(numberField(kValue, "Wert", 5)),
    pushButton(kSkip, "überspringen"),
    pushButton(kNext, "nächster"),
    okButton(kOk, "Ok"),
};

constexpr shell::ControlRow kTankTeachRows[] = {
    numberField(kLitres1, "Liter", 3), readOnly(numberField(kRaw1, "Wert", 4)),
    numberField(kLitres2, "Liter", 3), readOnly(numberField(kRaw2, "Wert", 4)),
    pushButton(kNext, "nächster"),     okButton(kOk, "Ok"),
};

constexpr shell::ControlRow kPointRows[] = {
    numberField(kPointLitres, "Liter", 3),
    numberField(kPointValue, "Wert", 4),
    okButton(kOk, "Ok"),
    cancelButton(kCancel, "Abbruch"),
};

constexpr shell::ControlRow kGaugeRows[] = {
    readOnly(numberField(kFraction + 0, "", 3)),
    readOnly(numberField(kFraction + 1, "", 3)),
    readOnly(numberField(kFraction + 2, "", 3)),
    readOnly(numberField(kFraction + 3, "", 3)),
    readOnly(numberField(kFraction + 4, "", 3)),
    radioButton(kFractionRadio + 0, "leer", "gauge"),
    radioButton(kFractionRadio + 1, "1/4", "gauge"),
    radioButton(kFractionRadio + 2, "1/2", "gauge"),
    radioButton(kFractionRadio + 3, "3/4", "gauge"),
    radioButton(kFractionRadio + 4, "voll", "gauge"),
    okButton(kOk, "Ok"),
};

constexpr shell::ControlRow kLiveRows[] = {
    readOnly(numberField(kValue, "Wert", 5)),
    shell::label(kUnit, ""),
    okButton(kOk, "Ok"),
};

constexpr shell::ControlRow kRallyRows[] = {
    readOnly(numberField(kNumber, "Nummer", 2)),
    numberField(kTime, "Zeit", 4),
    okButton(kOk, "Ok"),
    cancelButton(kCancel, "Cancel"),
};

// Caption and field rows, buttons in a column on the right.
void placeFields(QDialog* dialog, shell::DialogTable& t, std::initializer_list<int32_t> fields,
                 std::initializer_list<int32_t> buttons) {
  auto* grid = new QGridLayout(dialog);
  int row = 0;
  for (int32_t id : fields) {
    grid->addWidget(t.caption(id), row, 0);
    grid->addWidget(t.control(id), row, 1);
    ++row;
  }
  int buttonRow = 0;
  for (int32_t id : buttons) grid->addWidget(t.control(id), buttonRow++, 2);
}

}  // namespace

TableDialog::TableDialog(std::span<const shell::ControlRow> rows, shell::UserPrompts& prompts,
                         QWidget* parent)
    : QDialog(parent), table_(this, rows, prompts, [this](int32_t id) { command(id); }) {
  setModal(true);
}

// --- gear ------------------------------------------------------------------

GearTeachDialog::GearTeachDialog(GearTeachIn& teach, shell::UserPrompts& prompts, QWidget* parent)
    : TableDialog(kGearRows, prompts, parent), teach_(teach) {
  setWindowTitle(QStringLiteral("Gänge lernen"));
  placeFields(this, table_, {kSymbol, kValue}, {kSkip, kNext, kOk});
  showStep();
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (const std::optional<int32_t> v = teach_.tick()) table_.setNumber(kValue, *v);
  });
  timer_.start(GearTeachIn::kTickMs);
}

void GearTeachDialog::showStep() {
  table_.field(kSymbol)->setText(QString::fromStdString(teach_.symbolText()));
}

void GearTeachDialog::finish() {
  teach_.finish();
  timer_.stop();
  accept();
}

void GearTeachDialog::command(int32_t id) {
  if (id == kOk) {
    finish();
    return;
  }
  if (id != kNext && id != kSkip) return;
  const bool more = id == kNext ? teach_.next() : teach_.skip();
  if (more) {
    showStep();
  } else {
    finish();
  }
}

// --- tank --------------------------------------------------------------------

TankTeachDialog::TankTeachDialog(TankTeachIn& teach, shell::UserPrompts& prompts, QWidget* parent)
    : TableDialog(kTankTeachRows, prompts, parent), teach_(teach) {
  setWindowTitle(QStringLiteral("Tankgeber lernen"));
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Sensor 1"), this), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Sensor 2"), this), 0, 2);
  grid->addWidget(table_.caption(kLitres1), 1, 0);
  grid->addWidget(table_.control(kLitres1), 1, 1);
  grid->addWidget(table_.control(kLitres2), 1, 2);
  grid->addWidget(table_.caption(kRaw1), 2, 0);
  grid->addWidget(table_.control(kRaw1), 2, 1);
  grid->addWidget(table_.control(kRaw2), 2, 2);
  grid->addWidget(table_.control(kNext), 1, 3);
  grid->addWidget(table_.control(kOk), 2, 3);
  connect(&timer_, &QTimer::timeout, this, [this] {
    teach_.tick();
    const auto& raw = teach_.raw();
    if (raw[0]) table_.setNumber(kRaw1, *raw[0]);
    if (raw[1]) table_.setNumber(kRaw2, *raw[1]);
  });
  timer_.start(TankTeachIn::kTickMs);
}

void TankTeachDialog::command(int32_t id) {
  if (id == kNext) {
    const std::array<std::optional<int32_t>, 2> litres{table_.number(kLitres1),
                                                       table_.number(kLitres2)};
    teach_.next(litres);
    table_.field(kLitres1)->clear();
    table_.field(kLitres2)->clear();
  } else if (id == kOk) {
    timer_.stop();
    teach_.finish();
    accept();
  }
}

TankPointDialog::TankPointDialog(TankCalibrationList& list, std::optional<size_t> index,
                                 shell::UserPrompts& prompts, QWidget* parent)
    : TableDialog(kPointRows, prompts, parent), list_(list), index_(index), prompts_(prompts) {
  setWindowTitle(QStringLiteral("Tankgeber bearbeiten"));
  placeFields(this, table_, {kPointLitres, kPointValue}, {kOk, kCancel});
  if (index_ && *index_ < list_.size()) {
    const TankCalibrationPoint p = tankPointOf(list_[*index_]);
    table_.setNumber(kPointLitres, p.litres);
    table_.setNumber(kPointValue, p.raw);
  }
}

void TankPointDialog::command(int32_t id) {
  if (id == kCancel) {
    reject();
    return;
  }
  if (id != kOk) return;
  const std::optional<int32_t> litres = table_.number(kPointLitres);
  const std::optional<int32_t> value = table_.number(kPointValue);
  auto refuse = [this](int32_t field) {
    prompts_.showMessage(texts::kTextParameterOutOfRange);
    table_.field(field)->setFocus(Qt::OtherFocusReason);
  };
  if (!litres || *litres < 0 || *litres > 255) return refuse(kPointLitres);
  if (!value || *value < 0 || *value > 1023) return refuse(kPointValue);
  std::optional<std::string> old;
  if (index_ && *index_ < list_.size()) {
    old = list_[*index_];
    list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(*index_));
  }
  if (addTankPoint(list_, {*litres, *value})) {
    accept();
    return;
  }
  if (old) insertTankLine(list_, *old);
  refuse(kPointLitres);
}

TankGaugeDialog::TankGaugeDialog(TankGaugeTeachIn& teach, shell::UserPrompts& prompts,
                                 QWidget* parent)
    : TableDialog(kGaugeRows, prompts, parent), teach_(teach) {
  setWindowTitle(QStringLiteral("learn extern display"));
  auto* grid = new QGridLayout(this);
  for (int k = 0; k < 5; ++k) {
    table_.setNumber(kFraction + k, teach_.scale().fractions[k]);
    grid->addWidget(table_.control(kFractionRadio + k), k, 0);
    grid->addWidget(table_.control(kFraction + k), k, 1);
  }
  grid->addWidget(new QLabel(QStringLiteral("Liter"), this), 0, 2);
  grid->addWidget(table_.control(kOk), 4, 3);
  table_.setChecked(kFractionRadio, true);
}

void TankGaugeDialog::command(int32_t id) {
  if (id >= kFractionRadio && id < kFractionRadio + 5) {
    teach_.choose(id - kFractionRadio);
  } else if (id == kOk) {
    teach_.finish();
    accept();
  }
}

// --- live values ---------------------------------------------------------------

LiveValueDialog::LiveValueDialog(LiveValueWindow& window, const QString& title, const QString& unit,
                                 shell::UserPrompts& prompts, QWidget* parent)
    : TableDialog(kLiveRows, prompts, parent), window_(window) {
  setWindowTitle(title);
  auto* grid = new QGridLayout(this);
  grid->addWidget(table_.caption(kValue), 0, 0);
  grid->addWidget(table_.control(kValue), 0, 1);
  table_.get<QLabel>(kUnit)->setText(unit);
  grid->addWidget(table_.control(kUnit), 0, 2);
  grid->addWidget(table_.control(kOk), 0, 3);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (const std::optional<int32_t> v = window_.tick()) table_.setNumber(kValue, *v);
  });
  timer_.start(LiveValueWindow::kTickMs);
}

void LiveValueDialog::command(int32_t id) {
  if (id != kOk) return;
  timer_.stop();
  window_.finish();
  accept();
}

// --- rally -------------------------------------------------------------------------

RallyEditDialog::RallyEditDialog(std::vector<RallyLapTime>& targets, size_t index,
                                 shell::UserPrompts& prompts, QWidget* parent)
    : TableDialog(kRallyRows, prompts, parent),
      targets_(targets),
      index_(index),
      prompts_(prompts) {
  setWindowTitle(QStringLiteral("Rundenzeit bearbeiten"));
  placeFields(this, table_, {kNumber, kTime}, {kOk, kCancel});
  if (index_ < targets_.size()) {
    table_.setNumber(kNumber, targets_[index_].number);
    table_.setNumber(kTime, targets_[index_].tenths);
  }
}

void RallyEditDialog::command(int32_t id) {
  if (id == kCancel) {
    reject();
    return;
  }
  if (id != kOk) return;
  const std::optional<int32_t> time = table_.number(kTime);
  if (time && *time >= 0 && *time <= 9999 && editRallyTarget(targets_, index_, *time)) {
    accept();
    return;
  }
  prompts_.showMessage(texts::kTextParameterOutOfRange);
  table_.field(kTime)->setFocus(Qt::OtherFocusReason);
}

}  // namespace displays
