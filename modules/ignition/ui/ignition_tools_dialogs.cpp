#include "modules/ignition/ui/ignition_tools_dialogs.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "shell/ui/dialog_rows.h"

namespace ignition {

namespace {

using shell::cancelButton, shell::checkBox, shell::numberField, shell::okButton, shell::pushButton,
    shell::radioButton;

constexpr shell::ControlRow kToolRows[] = {
    pushButton(ToolsDialog::kRpmMeter, "Drehzahlm.", 8621),
    pushButton(ToolsDialog::kControl, "Steuerung"),
    pushButton(ToolsDialog::kTaktora, "Taktora", 8687),
    pushButton(ToolsDialog::kFunkora, "Funkora", 8624),
    okButton(IgnitionDialog::kCommandOk, "OK"),
    cancelButton(IgnitionDialog::kCommandCancel, "Abbruch"),
};

constexpr shell::ControlRow kRpmRows[] = {
    numberField(RpmMeterDialog::kRpmField, "aktuelle Drehzahl", 4),
    pushButton(RpmMeterDialog::kUp, "+1000"),
    pushButton(RpmMeterDialog::kDown, "-1000"),
    okButton(IgnitionDialog::kCommandOk, "OK"),
};

constexpr shell::ControlRow kControlRows[] = {
    radioButton(ControlDialog::kCurve1, "Kennlinie 1", "curve", 8653),
    radioButton(ControlDialog::kCurve2, "Kennlinie 2", "curve", 8654),
    checkBox(ControlDialog::kSecondSpark, "Nachzünden", 8685),
    pushButton(ControlDialog::kEarlier, "+1", 8678),
    pushButton(ControlDialog::kLater, "-1", 8677),
    {ControlDialog::kShiftField,
     shell::ControlKind::NumberField,
     "",
     3,
     shell::FieldCheck::None,
     {},
     8615,
     "",
     0,
     shell::kReadOnly},
    okButton(IgnitionDialog::kCommandOk, "Ok"),
    cancelButton(IgnitionDialog::kCommandCancel, "Abbruch"),
};

QHBoxLayout* buttonRow(shell::DialogTable& table) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(table.control(IgnitionDialog::kCommandOk));
  if (QWidget* cancel = table.control(IgnitionDialog::kCommandCancel)) row->addWidget(cancel);
  return row;
}

}  // namespace

// --- 186 ----------------------------------------------------------------------

ToolsDialog::ToolsDialog(DialogStack& stack, std::function<void(int32_t)> run, QWidget* parent)
    : IgnitionDialog(stack, parent), run_(std::move(run)), table_(this, kToolRows, sender()) {
  setWindowTitle(QStringLiteral("Zündungs-Tools"));
  // Wide enough for its title.
  setMinimumWidth(260);
  auto* grid = new QGridLayout(this);
  grid->addWidget(table_.control(kRpmMeter), 0, 0);
  grid->addWidget(table_.control(kControl), 0, 1);
  grid->addWidget(table_.control(kTaktora), 1, 0);
  grid->addWidget(table_.control(kFunkora), 1, 1);
  grid->addLayout(buttonRow(table_), 2, 0, 1, 2);
}

int32_t ToolsDialog::handleCommand(int32_t command) {
  switch (command) {
    case kRpmMeter:
    case kControl:
    case kTaktora:
    case kFunkora:
      if (run_) run_(command);
      return 0;
    case kCommandOk:
      accept();
      return 0;
    case kCommandCancel:
      reject();
      return 0;
    default:
      return 1;
  }
}

// --- 185 ----------------------------------------------------------------------

RpmMeterDialog::RpmMeterDialog(DialogStack& stack, buslink::ModuleLink& link,
                               const IgnitionRecord& record, QWidget* parent)
    : IgnitionDialog(stack, parent),
      link_(link),
      record_(record),
      table_(this, kRpmRows, sender()),
      timer_(new QTimer(this)) {
  setWindowTitle(QStringLiteral("Drehzahlmesser testen "));
  table_.setNumber(kRpmField, kRpmMeterStart);
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  row->addWidget(table_.caption(kRpmField));
  row->addWidget(table_.control(kRpmField));
  row->addWidget(table_.control(kDown));
  row->addWidget(table_.control(kUp));
  layout->addLayout(row);
  layout->addLayout(buttonRow(table_));
  timer_->setObjectName(QStringLiteral("9000"));
  connect(timer_, &QTimer::timeout, this, [this] { tick(); });
  timer_->start(kIntervalMs);
}

RpmMeterDialog::~RpmMeterDialog() {
  timer_->stop();
  link_.close();
}

void RpmMeterDialog::tick() {
  sendRpmMeterPeriod(link_, record_, table_.number(kRpmField).value_or(kRpmMeterStart));
}

int32_t RpmMeterDialog::handleCommand(int32_t command) {
  const int32_t rpm = table_.number(kRpmField).value_or(0);
  switch (command) {
    case kUp:
      if (rpm < kRpmMeterTop) table_.setNumber(kRpmField, rpm + kRpmMeterStep);
      tick();
      return 0;
    case kDown:
      if (rpm > kRpmMeterStart) table_.setNumber(kRpmField, rpm - kRpmMeterStep);
      tick();
      return 0;
    case kCommandOk:
    case kCommandCancel:
      timer_->stop();
      accept();
      return 0;
    default:
      return 1;
  }
}

// --- 189 ----------------------------------------------------------------------

ControlDialog::ControlDialog(DialogStack& stack, buslink::ModuleLink& link, QWidget* parent)
    : IgnitionDialog(stack, parent),
      link_(link),
      table_(this, kControlRows, sender()),
      timer_(new QTimer(this)) {
  setWindowTitle(QStringLiteral("Zündungs-Steuerung"));
  table_.setChecked(kCurve1, true);
  table_.setNumber(kShiftField, 0);
  auto* shift = new QGroupBox(QStringLiteral("Kennlinie verschieben"), this);
  auto* shiftRow = new QHBoxLayout(shift);
  shiftRow->addWidget(table_.control(kLater));
  shiftRow->addWidget(table_.control(kShiftField));
  shiftRow->addWidget(table_.control(kEarlier));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_.control(kCurve1));
  layout->addWidget(table_.control(kCurve2));
  layout->addWidget(table_.control(kSecondSpark));
  layout->addWidget(shift);
  layout->addLayout(buttonRow(table_));
  timer_->setObjectName(QStringLiteral("9000"));
  connect(timer_, &QTimer::timeout, this, [this] { tick(); });
  timer_->start(kIntervalMs);
}

ControlDialog::~ControlDialog() {
  timer_->stop();
  // The running module keeps what it was told; the port is given free.
  link_.close();
}

void ControlDialog::tick() {
  controlTick(control_, link_);
}

int32_t ControlDialog::handleCommand(int32_t command) {
  switch (command) {
    case kCurve1:
    case kCurve2:
      setControlCurve(control_, link_, command == kCurve1 ? 1 : 2);
      return 0;
    case kSecondSpark:
      setControlSecondSpark(control_, link_, table_.isChecked(kSecondSpark));
      return 0;
    case kEarlier:
    case kLater:
      shiftControlCurve(control_, link_, command == kEarlier ? 1 : -1);
      table_.setNumber(kShiftField, control_.shift);
      return 0;
    case kCommandOk:
    case kCommandCancel:
      timer_->stop();
      accept();
      return 0;
    default:
      return 1;
  }
}

}  // namespace ignition
