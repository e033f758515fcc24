#include "modules/ignition/ui/basic_settings_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "modules/ignition/dialog_text_ids.h"
#include "modules/ignition/ui/channel_table_dialog.h"
#include "modules/ignition/ui/extended_settings_dialog.h"
#include "modules/ignition/ui/qt_dialog_stack.h"
#include "shell/ui/qt_field_checks.h"
#include "shell/user_prompts.h"

namespace ignition {

namespace {

using D = BasicSettingsDialog;
using shell::cancelButton, shell::checkBox, shell::fixedField, shell::label, shell::numberField,
    shell::okButton, shell::pushButton, shell::radioButton, shell::readOnly, shell::kCheckedByRule;

constexpr char kModes[] = "Trigger";

constexpr shell::ControlRow kControls[] = {
    numberField(D::kCylinders, "Zylinder", 2, {1, 12}, 8699),
    // 2 or 4; the offset and the teeth depend on the firmware, the mode and
    // the record: their rules are in addRules.
    numberField(D::kStrokes, "Takte", 1, kCheckedByRule, 8689),
    fixedField(D::kChargeTime, "Ladezeit", 3, 1, {7, 50}, 8659),
    readOnly(fixedField(D::kChargeTimeOriginal, "", 3, 1)),
    label(D::kOffsetLabel, "Offset"),
    numberField(D::kOffsetField, "", 3, kCheckedByRule, 8669),
    numberField(D::kTeeth, "Zähne", 3, kCheckedByRule, 8658),
    numberField(D::kGap, "Lücke", 1, {0, 2}, 8657),
    radioButton(D::kModeTdc, "OT-Geber", kModes, 8671),
    radioButton(D::kModeEarly, "Frühgeber", kModes, 8632),
    radioButton(D::kModeFreeOffset, "Versatz", kModes, 8697),
    radioButton(D::kModeCrank, "KW-Geber", kModes, 8656),
    checkBox(D::kInductive, "induktiv", 8641),
    checkBox(D::kInverted, "Invertierung", 8686),
    checkBox(D::kMultiChannel, "Mehrkanal", 8666),
    checkBox(D::kWasteSpark, "Leertakt-Z.", 8660),
    pushButton(D::kExtended, "erweitert", 8630),
    pushButton(D::kChannels, "Kanäle", 8652),
    pushButton(D::kAssistant, "Assistent", 9010),
    okButton(D::kCommandOk, "OK"),
    cancelButton(D::kCommandCancel, "Abbruch"),
};

}  // namespace

BasicSettingsDialog::BasicSettingsDialog(DialogStack& stack, shell::UserPrompts& prompts,
                                         IgnitionState& state, int32_t& offsetIsVersatz,
                                         QWidget* parent)
    : IgnitionDialog(stack, parent),
      prompts_(prompts),
      state_(state),
      offsetIsVersatz_(offsetIsVersatz),
      table_(this, kControls, prompts, sender()) {
  setWindowTitle(QStringLiteral("Zündungs-Einstellungen"));
  load();
  addRules();
  layOut();
}

void BasicSettingsDialog::load() {
  // Fields from the record (cylinders and strokes as the engine has them),
  // then the offset field as the firmware understands it.
  IgnitionRecord& r = state_.record;
  table_.setNumber(kCylinders, shownCylinders(r));
  table_.setNumber(kStrokes, shownStrokes(r));
  table_.setFixed(kChargeTime, r.Ladezeit);
  table_.setFixed(kChargeTimeOriginal, r.LadezeitUrsprung);
  table_.setNumber(kTeeth, r.KwZaehne);
  table_.setNumber(kGap, r.KwLuecke);
  const OffsetFieldSetup setup = openOffsetField(r);
  offsetIsVersatz_ = setup.editsVersatz ? 1 : 0;
  if (setup.editsVersatz) table_.get<QLabel>(kOffsetLabel)->setText(QStringLiteral("Versatz"));
  table_.setNumber(kOffsetField, setup.value);
  table_.control(kOffsetField)->setEnabled(setup.enabled);
  switch (triggerModeOf(r)) {
    case TriggerMode::Tdc:
      table_.setChecked(kModeTdc, true);
      break;
    case TriggerMode::Early:
      table_.setChecked(kModeEarly, true);
      break;
    case TriggerMode::FreeOffset:
      table_.setChecked(kModeFreeOffset, true);
      break;
    case TriggerMode::Crank:
      table_.setChecked(kModeCrank, true);
      break;
  }
  table_.setChecked(kInductive, r.FlagsB & bits::kFlagsBInductive);
  table_.setChecked(kInverted, r.Flags & bits::kFlagsInverted);
  table_.setChecked(kMultiChannel, r.FlagsB & bits::kFlagsBMultiChannel);
  table_.setChecked(kWasteSpark, r.Flags & bits::kFlagsWasteSpark);
  applyModeRules();
}

void BasicSettingsDialog::addRules() {
  // This dialog answers a refused field with the number it holds.
  table_.setReport([this](int32_t shown) { prompts_.showNumber(shown); });
  table_.setRule(
      kStrokes, [](int32_t v) { return v == 2 || v == 4; },
      [this](int32_t) { prompts_.showNumber(texts::kWrongStrokesNumber); });
  // The range follows the mode chosen in the dialog, which is the one the
  // value is saved with.
  table_.setRule(kOffsetField, [this](int32_t v) {
    return offsetFieldRange(state_.record, offsetIsVersatz_ != 0, table_.isChecked(kModeCrank))
        .contains(v);
  });
  // "KW + OT" in dialog 151 may change while this dialog is open.
  table_.setRule(kTeeth, [this](int32_t v) { return teethRange(state_.record).contains(v); });
}

void BasicSettingsDialog::layOut() {
  auto* fields = new QGridLayout;
  int row = 0;
  auto addField = [&](int32_t id) {
    fields->addWidget(table_.caption(id), row, 0);
    fields->addWidget(table_.control(id), row, 1);
    ++row;
  };
  addField(kCylinders);
  addField(kStrokes);
  fields->addWidget(table_.caption(kChargeTime), row, 0);
  fields->addWidget(table_.control(kChargeTime), row, 1);
  fields->addWidget(table_.control(kChargeTimeOriginal), row, 2);
  fields->addWidget(new QLabel(QStringLiteral("msec"), this), row, 3);
  ++row;
  fields->addWidget(table_.control(kOffsetLabel), row, 0);
  fields->addWidget(table_.control(kOffsetField), row, 1);
  ++row;
  addField(kTeeth);
  addField(kGap);
  fields->setRowStretch(row, 1);
  fields->setColumnStretch(4, 1);

  auto* options = new QVBoxLayout;
  for (int32_t id : {kModeTdc, kModeEarly, kModeFreeOffset, kModeCrank}) {
    options->addWidget(table_.control(id));
  }
  options->addSpacing(8);
  for (int32_t id : {kInductive, kInverted, kMultiChannel, kWasteSpark}) {
    options->addWidget(table_.control(id));
  }
  options->addStretch(1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(table_.control(kExtended));
  buttons->addWidget(table_.control(kChannels));
  buttons->addWidget(table_.control(kAssistant));
  buttons->addStretch(1);
  buttons->addWidget(table_.control(kCommandOk));
  buttons->addWidget(table_.control(kCommandCancel));

  auto* layout = new QGridLayout(this);
  layout->addLayout(fields, 0, 0);
  layout->addLayout(options, 0, 1);
  layout->addLayout(buttons, 1, 0, 1, 2);
}

TriggerMode BasicSettingsDialog::mode() const {
  if (table_.isChecked(kModeCrank)) return TriggerMode::Crank;
  if (table_.isChecked(kModeFreeOffset)) return TriggerMode::FreeOffset;
  if (table_.isChecked(kModeEarly)) return TriggerMode::Early;
  return TriggerMode::Tdc;
}

void BasicSettingsDialog::applyModeRules() {
  const ModeRule rule = modeRule(mode(), offsetIsVersatz_ != 0);
  if (rule.setsOffset) table_.setNumber(kOffsetField, rule.offsetValue);
  table_.control(kOffsetField)->setEnabled(rule.offsetEnabled);
  table_.control(kTeeth)->setEnabled(rule.wheelEnabled);
  table_.control(kGap)->setEnabled(rule.wheelEnabled);
  const bool quickStart = quickStartSet(state_.record);
  for (int32_t id : {kMultiChannel, kWasteSpark, kModeCrank}) {
    table_.control(id)->setEnabled(!quickStart);
  }
  if (state_.record.directModeActive) {
    for (int32_t id : {kTeeth, kGap, kOffsetField, kModeTdc, kModeEarly, kModeFreeOffset,
                       kModeCrank, kMultiChannel, kWasteSpark}) {
      table_.control(id)->setEnabled(false);
    }
  }
}

BasicSettingsForm BasicSettingsDialog::form() const {
  BasicSettingsForm f;
  f.cylinders = table_.number(kCylinders).value_or(0);
  f.strokes = table_.number(kStrokes).value_or(0);
  f.chargeTenths = table_.fixed(kChargeTime);
  f.offset = table_.number(kOffsetField).value_or(0);
  f.teeth = table_.number(kTeeth).value_or(0);
  f.gap = table_.number(kGap).value_or(0);
  f.mode = mode();
  f.inductive = table_.isChecked(kInductive);
  f.inverted = table_.isChecked(kInverted);
  f.multiChannel = table_.isChecked(kMultiChannel);
  f.wasteSpark = table_.isChecked(kWasteSpark);
  return f;
}

int32_t BasicSettingsDialog::save() {
  const int32_t status = saveBasicSettings(state_, offsetIsVersatz_ != 0, form());
  if (status != 0) prompts_.showMessage(status);
  return status;
}

void BasicSettingsDialog::openExtended() {
  // The form is saved before 151 opens, so it must pass its checks first.
  if (!checks().checkAll()) return;
  save();
  ExtendedSettingsDialog extended(stack(), prompts_, state_.record, this);
  extended.setTools(tools_);
  extended.setPinChange(pinChange_);
  stack().run(ExtendedSettingsDialog::kKey, extended);
  // Quick start and the cylinder-1 sender may have changed.
  applyModeRules();
}

int32_t BasicSettingsDialog::handleCommand(int32_t command) {
  switch (command) {
    case kCommandOk:
      if (checks().checkAll() && save() == 0) accept();
      return 0;
    case kCommandCancel:
      reject();
      return 0;
    case kModeTdc:
    case kModeEarly:
    case kModeFreeOffset:
    case kModeCrank:
    case kMultiChannel:
    case kWasteSpark:
      applyModeRules();
      return 0;
    case kExtended:
      openExtended();
      return 0;
    case kAssistant:
      if (assistant_) assistant_();
      return 0;
    case kChannels:
      // The table depends on the cylinders: the dialog is saved first.
      if (checks().checkAll() && save() == 0) {
        ChannelTableDialog channels(stack(), state_.record, this);
        stack().run(ChannelTableDialog::kKey, channels);
      }
      return 0;
    default:
      return 1;
  }
}

}  // namespace ignition
