#include "modules/ignition/ui/pressure_settings_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "modules/ignition/ui/pressure_edit_dialog.h"
#include "modules/ignition/ui/qt_curve_lists.h"
#include "modules/ignition/ui/qt_dialog_stack.h"
#include "modules/ignition/ui/qt_edit_fields.h"
#include "modules/ignition/ui/qt_field_checks.h"
#include "shell/ui/qt_controls.h"
#include "shell/ui/qt_tooltips.h"
#include "shell/user_prompts.h"
#include "texts/text_ids.h"

namespace ignition {

namespace {

constexpr shell::TooltipEntry kTooltips[] = {
    {PressureSettingsDialog::kFactorField, 8696}, {PressureSettingsDialog::kOffsetField, 8695},
    {PressureSettingsDialog::kListA, 8692},       {PressureSettingsDialog::kListB, 8693},
    {PressureSettingsDialog::kRelativeBox, 8694}, {PressureSettingsDialog::kDeleteButton, 8620},
    {PressureSettingsDialog::kEditButton, 8628},  {PressureSettingsDialog::kInsertButton, 8614},
};

QListWidget* makeList(QWidget* parent, int32_t id) {
  auto* list = new QListWidget(parent);
  shell::setControlId(list, id);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setFixedSize(list->fontMetrics().horizontalAdvance(QStringLiteral("-1000 mBar  -20")) +
                         2 * list->frameWidth() + 12,
                     list->fontMetrics().height() * 9);
  return list;
}

}  // namespace

PressureSettingsDialog::PressureSettingsDialog(DialogStack& stack, shell::UserPrompts& prompts,
                                               IgnitionRecord& record, QWidget* parent)
    : IgnitionDialog(stack, parent),
      prompts_(prompts),
      record_(record),
      settings_(pressureSettingsOf(record)) {
  setWindowTitle(QStringLiteral("Zündung Druck-Einstellungen"));
  listA_ = makeList(this, kListA);
  listB_ = makeList(this, kListB);
  pair_ = new ListPair(listA_, listB_, kListA, kListB, this);
  factor_ = makeNumberField(this, kFactorField, 3);
  offset_ = makeNumberField(this, kOffsetField, 3);
  setFieldNumber(factor_, settings_.sensorFactor);
  setFieldNumber(offset_, settings_.sensorOffset);
  relative_ = new QCheckBox(QStringLiteral("Druck relativ"), this);
  shell::setControlId(relative_, kRelativeBox);
  relative_->setChecked(settings_.relative);

  auto button = [this](const char* caption, int32_t id) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    shell::setControlId(b, id);
    b->setAutoDefault(false);
    sendOnClick(b, id);
    return b;
  };
  QPushButton* edit = button("Bearbeiten", kEditButton);
  QPushButton* insert = button("Einfügen", kInsertButton);
  QPushButton* remove = button("Löschen", kDeleteButton);
  QPushButton* ok = button("OK", kCommandOk);
  ok->setDefault(true);
  QPushButton* cancel = button("Abbruch", kCommandCancel);

  checks_ = new FieldChecks(this);
  auto report = [this] { prompts_.showMessage(texts::kTextParameterOutOfRange); };
  checks_->add(
      factor_,
      [this] {
        const auto v = fieldNumber(factor_);
        return v && kSensorFactorRange.contains(*v);
      },
      report);
  checks_->add(
      offset_,
      [this] {
        const auto v = fieldNumber(offset_);
        return v && kSensorOffsetRange.contains(*v);
      },
      report);
  checks_->exempt(ok);
  checks_->exempt(cancel);

  connect(listA_, &QListWidget::itemDoubleClicked, this, [this] {
    pair_->activate(kListA);
    send(kEditButton);
  });
  connect(listB_, &QListWidget::itemDoubleClicked, this, [this] {
    pair_->activate(kListB);
    send(kEditButton);
  });

  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Druckkurve 1"), this), 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("Druckkurve 2"), this), 0, 1);
  layout->addWidget(listA_, 1, 0, 5, 1);
  layout->addWidget(listB_, 1, 1, 5, 1);
  layout->addWidget(edit, 1, 2);
  layout->addWidget(insert, 2, 2);
  layout->addWidget(remove, 3, 2);
  auto* sensor = new QGridLayout;
  sensor->addWidget(new QLabel(QStringLiteral("Sensor"), this), 0, 0);
  sensor->addWidget(factor_, 0, 1);
  sensor->addWidget(offset_, 0, 2);
  sensor->addWidget(relative_, 1, 0, 1, 3);
  sensor->setColumnStretch(3, 1);
  layout->addLayout(sensor, 6, 0, 1, 2);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons, 6, 2);
  layout->setRowStretch(4, 1);

  refreshLists();
  shell::createTooltips(this, kTooltips);
}

int32_t PressureSettingsDialog::activeList() const {
  return pair_->active();
}

QListWidget* PressureSettingsDialog::list(int32_t id) const {
  return id == kListB ? listB_ : listA_;
}

PressureList& PressureSettingsDialog::activePressureList() {
  return pair_->active() == kListB ? settings_.curveB : settings_.curveA;
}

void PressureSettingsDialog::refreshLists() {
  showEntries(listA_, settings_.curveA.entries());
  showEntries(listB_, settings_.curveB.entries());
}

int32_t PressureSettingsDialog::handleCommand(int32_t command) {
  switch (command) {
    case kCommandOk:
      ok();
      return 0;
    case kCommandCancel:
      reject();
      return 0;
    case kDeleteButton:
      deleteEntry();
      return 0;
    case kEditButton:
      editEntry();
      return 0;
    case kInsertButton:
      insertEntry();
      return 0;
    default:
      return 1;
  }
}

void PressureSettingsDialog::deleteEntry() {
  QListWidget* widget = pair_->activeList();
  const int row = selectedRow(widget);
  if (row < 0) return;
  PressureList& list = activePressureList();
  list.removeAt(row);
  showEntries(widget, list.entries());
  selectRow(widget, row > 0 ? row - 1 : 0);
}

void PressureSettingsDialog::editEntry() {
  const int row = selectedRow(pair_->activeList());
  if (row < 0 || row >= activePressureList().size()) return;
  const std::string& entry = activePressureList().entries()[static_cast<size_t>(row)];
  edit_ = {pressureEntryValue(entry), pressureEntryAngle(entry), row};
  runEditor();
}

void PressureSettingsDialog::insertEntry() {
  edit_ = CurveEditState{};
  runEditor();
}

void PressureSettingsDialog::runEditor() {
  PressureList& list = activePressureList();
  PressureEditDialog editor(stack(), prompts_, list, edit_, record_.relativePressure(), this);
  stack().run(PressureEditDialog::kKey, editor);
  showEntries(pair_->activeList(), list.entries());
}

void PressureSettingsDialog::ok() {
  if (!checks_->checkAll()) return;
  settings_.sensorFactor = fieldNumber(factor_).value_or(settings_.sensorFactor);
  settings_.sensorOffset = fieldNumber(offset_).value_or(settings_.sensorOffset);
  settings_.relative = relative_->isChecked();
  storePressureSettings(record_, settings_);
  accept();
}

}  // namespace ignition
