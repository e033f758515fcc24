#include "modules/ignition/ui/pressure_settings_dialog.h"

#include <QGridLayout>
#include <QListWidget>
#include <QVBoxLayout>

#include "modules/ignition/ui/pressure_edit_dialog.h"
#include "modules/ignition/ui/qt_curve_lists.h"
#include "modules/ignition/ui/qt_dialog_stack.h"
#include "shell/ui/qt_field_checks.h"
#include "shell/user_prompts.h"

namespace ignition {

namespace {

using D = PressureSettingsDialog;
using shell::cancelButton, shell::checkBox, shell::numberField, shell::okButton, shell::pushButton;

constexpr shell::FieldRange shellRange(FieldRange r) {
  return {r.low, r.high};
}

constexpr shell::ControlRow kControls[] = {
    shell::list(D::kListA, "Druckkurve 1", 8692),
    shell::list(D::kListB, "Druckkurve 2", 8693),
    numberField(D::kFactorField, "Sensor", 3, shellRange(kSensorFactorRange), 8696),
    numberField(D::kOffsetField, "", 3, shellRange(kSensorOffsetRange), 8695),
    checkBox(D::kRelativeBox, "Druck relativ", 8694),
    pushButton(D::kEditButton, "Bearbeiten", 8628),
    pushButton(D::kInsertButton, "Einfügen", 8614),
    pushButton(D::kDeleteButton, "Löschen", 8620),
    okButton(D::kCommandOk, "OK"),
    cancelButton(D::kCommandCancel, "Abbruch"),
};

// As wide as the widest entry, as high as the 8 a curve holds and one more.
void sizeList(QListWidget* list) {
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setFixedSize(list->fontMetrics().horizontalAdvance(QStringLiteral("-1000 mBar  -20")) +
                         2 * list->frameWidth() + 12,
                     list->fontMetrics().height() * 9);
}

}  // namespace

PressureSettingsDialog::PressureSettingsDialog(DialogStack& stack, shell::UserPrompts& prompts,
                                               IgnitionRecord& record, QWidget* parent)
    : IgnitionDialog(stack, parent),
      prompts_(prompts),
      record_(record),
      settings_(pressureSettingsOf(record)),
      table_(this, kControls, prompts, sender()),
      listA_(table_.get<QListWidget>(kListA)),
      listB_(table_.get<QListWidget>(kListB)),
      pair_(new ListPair(listA_, listB_, kListA, kListB, this)) {
  setWindowTitle(QStringLiteral("Zündung Druck-Einstellungen"));
  sizeList(listA_);
  sizeList(listB_);
  table_.setNumber(kFactorField, settings_.sensorFactor);
  table_.setNumber(kOffsetField, settings_.sensorOffset);
  table_.setChecked(kRelativeBox, settings_.relative);

  connect(listA_, &QListWidget::itemDoubleClicked, this, [this] {
    pair_->activate(kListA);
    send(kEditButton);
  });
  connect(listB_, &QListWidget::itemDoubleClicked, this, [this] {
    pair_->activate(kListB);
    send(kEditButton);
  });

  layOut();
  refreshLists();
}

void PressureSettingsDialog::layOut() {
  auto* layout = new QGridLayout(this);
  layout->addWidget(table_.caption(kListA), 0, 0);
  layout->addWidget(table_.caption(kListB), 0, 1);
  layout->addWidget(listA_, 1, 0, 5, 1);
  layout->addWidget(listB_, 1, 1, 5, 1);
  layout->addWidget(table_.control(kEditButton), 1, 2);
  layout->addWidget(table_.control(kInsertButton), 2, 2);
  layout->addWidget(table_.control(kDeleteButton), 3, 2);
  auto* sensor = new QGridLayout;
  sensor->addWidget(table_.caption(kFactorField), 0, 0);
  sensor->addWidget(table_.control(kFactorField), 0, 1);
  sensor->addWidget(table_.control(kOffsetField), 0, 2);
  sensor->addWidget(table_.control(kRelativeBox), 1, 0, 1, 3);
  sensor->setColumnStretch(3, 1);
  layout->addLayout(sensor, 6, 0, 1, 2);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(table_.control(kCommandOk));
  buttons->addWidget(table_.control(kCommandCancel));
  layout->addLayout(buttons, 6, 2);
  layout->setRowStretch(4, 1);
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
  if (!table_.checks().checkAll()) return;
  settings_.sensorFactor = table_.number(kFactorField).value_or(settings_.sensorFactor);
  settings_.sensorOffset = table_.number(kOffsetField).value_or(settings_.sensorOffset);
  settings_.relative = table_.isChecked(kRelativeBox);
  storePressureSettings(record_, settings_);
  accept();
}

}  // namespace ignition
