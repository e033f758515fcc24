#include "modules/ignition/ui/basic_settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "modules/ignition/dialog_text_ids.h"
#include "modules/ignition/ui/extended_settings_dialog.h"
#include "modules/ignition/ui/qt_dialog_stack.h"
#include "modules/ignition/ui/qt_edit_fields.h"
#include "modules/ignition/ui/qt_field_checks.h"
#include "shell/ui/qt_controls.h"
#include "shell/ui/qt_fixed_field.h"
#include "shell/ui/qt_tooltips.h"
#include "shell/user_prompts.h"

namespace ignition {

namespace {

using D = BasicSettingsDialog;

constexpr shell::TooltipEntry kTooltips[] = {
    {D::kCylinders, 8699},   {D::kStrokes, 8689},   {D::kChargeTime, 8659},
    {D::kOffsetField, 8669}, {D::kTeeth, 8658},     {D::kGap, 8657},
    {D::kModeTdc, 8671},     {D::kModeEarly, 8632}, {D::kModeFreeOffset, 8697},
    {D::kModeCrank, 8656},   {D::kInverted, 8686},  {D::kMultiChannel, 8666},
    {D::kWasteSpark, 8660},  {D::kInductive, 8641}, {D::kExtended, 8630},
};

constexpr int kChargeDecimals = 1;
constexpr FieldRange kCylinderRange{1, 12};
constexpr FieldRange kChargeRange{7, 50};
constexpr FieldRange kGapRange{0, 2};

// A rejected field shows the number it holds; text that is no number shows 0.
int32_t shownNumber(const QLineEdit* field) {
  return fieldNumber(field).value_or(0);
}

}  // namespace

BasicSettingsDialog::BasicSettingsDialog(DialogStack& stack, shell::UserPrompts& prompts,
                                         IgnitionState& state, int32_t& offsetIsVersatz,
                                         QWidget* parent)
    : IgnitionDialog(stack, parent),
      prompts_(prompts),
      state_(state),
      offsetIsVersatz_(offsetIsVersatz) {
  setWindowTitle(QStringLiteral("Zündungs-Einstellungen"));
  IgnitionRecord& r = state_.record;

  cylinders_ = makeNumberField(this, kCylinders, 2);
  strokes_ = makeNumberField(this, kStrokes, 1);
  charge_ = makeNumberField(this, kChargeTime, 3);
  chargeOriginal_ = makeNumberField(this, kChargeTimeOriginal, 3);
  chargeOriginal_->setReadOnly(true);
  chargeOriginal_->setFocusPolicy(Qt::NoFocus);
  offsetLabel_ = new QLabel(QStringLiteral("Offset"), this);
  shell::setControlId(offsetLabel_, kOffsetLabel);
  offset_ = makeNumberField(this, kOffsetField, 3);
  teeth_ = makeNumberField(this, kTeeth, 3);
  gap_ = makeNumberField(this, kGap, 1);

  auto radio = [this](const char* caption, int32_t id) {
    auto* b = new QRadioButton(QString::fromUtf8(caption), this);
    shell::setControlId(b, id);
    sendOnClick(b, id);
    return b;
  };
  tdc_ = radio("OT-Geber", kModeTdc);
  early_ = radio("Frühgeber", kModeEarly);
  freeOffset_ = radio("Versatz", kModeFreeOffset);
  crank_ = radio("KW-Geber", kModeCrank);
  auto* modes = new QButtonGroup(this);
  for (QRadioButton* b : {tdc_, early_, freeOffset_, crank_}) modes->addButton(b);

  auto box = [this](const char* caption, int32_t id) {
    auto* b = new QCheckBox(QString::fromUtf8(caption), this);
    shell::setControlId(b, id);
    sendOnClick(b, id);
    return b;
  };
  inductive_ = box("induktiv", kInductive);
  inverted_ = box("Invertierung", kInverted);
  multiChannel_ = box("Mehrkanal", kMultiChannel);
  wasteSpark_ = box("Leertakt-Z.", kWasteSpark);

  auto button = [this](const char* caption, int32_t id) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    shell::setControlId(b, id);
    b->setAutoDefault(false);
    sendOnClick(b, id);
    return b;
  };
  QPushButton* extended = button("erweitert", kExtended);
  QPushButton* ok = button("OK", kCommandOk);
  ok->setDefault(true);
  QPushButton* cancel = button("Abbruch", kCommandCancel);

  // Opening: fields from the record (cylinders and strokes as the engine
  // has them), then the offset field as the firmware understands it.
  setFieldNumber(cylinders_, shownCylinders(r));
  setFieldNumber(strokes_, shownStrokes(r));
  shell::setFixedField(charge_, r.Ladezeit, kChargeDecimals);
  shell::setFixedField(chargeOriginal_, r.LadezeitUrsprung, kChargeDecimals);
  setFieldNumber(teeth_, r.KwZaehne);
  setFieldNumber(gap_, r.KwLuecke);
  const OffsetFieldSetup setup = openOffsetField(r);
  offsetIsVersatz_ = setup.editsVersatz ? 1 : 0;
  if (setup.editsVersatz) offsetLabel_->setText(QStringLiteral("Versatz"));
  setFieldNumber(offset_, setup.value);
  offset_->setEnabled(setup.enabled);
  switch (triggerModeOf(r)) {
    case TriggerMode::Tdc:
      tdc_->setChecked(true);
      break;
    case TriggerMode::Early:
      early_->setChecked(true);
      break;
    case TriggerMode::FreeOffset:
      freeOffset_->setChecked(true);
      break;
    case TriggerMode::Crank:
      crank_->setChecked(true);
      break;
  }
  inductive_->setChecked(r.FlagsB & bits::kFlagsBInductive);
  inverted_->setChecked(r.Flags & bits::kFlagsInverted);
  multiChannel_->setChecked(r.FlagsB & bits::kFlagsBMultiChannel);
  wasteSpark_->setChecked(r.Flags & bits::kFlagsWasteSpark);
  applyModeRules();

  checks_ = new FieldChecks(this);
  auto showValue = [this](const QLineEdit* field) {
    return [this, field] { prompts_.showNumber(shownNumber(field)); };
  };
  checks_->add(
      cylinders_,
      [this] {
        const auto v = fieldNumber(cylinders_);
        return v && kCylinderRange.contains(*v);
      },
      showValue(cylinders_));
  checks_->add(
      strokes_,
      [this] {
        const auto v = fieldNumber(strokes_);
        return v && (*v == 2 || *v == 4);
      },
      [this] { prompts_.showNumber(texts::kWrongStrokesNumber); });
  checks_->add(
      charge_,
      [this] { return kChargeRange.contains(shell::getFixedField(charge_, kChargeDecimals)); },
      [this] { prompts_.showNumber(shell::getFixedField(charge_, kChargeDecimals)); });
  checks_->add(
      offset_, [this] { return checkOffset(); }, showValue(offset_));
  checks_->add(
      teeth_,
      [this] {
        const auto v = fieldNumber(teeth_);
        return v && teethRange(state_.record).contains(*v);
      },
      showValue(teeth_));
  checks_->add(
      gap_,
      [this] {
        const auto v = fieldNumber(gap_);
        return v && kGapRange.contains(*v);
      },
      showValue(gap_));
  checks_->exempt(ok);
  checks_->exempt(cancel);

  auto* fields = new QGridLayout;
  int row = 0;
  auto addField = [&](const char* caption, QLineEdit* field, QWidget* extra = nullptr) {
    fields->addWidget(new QLabel(QString::fromUtf8(caption), this), row, 0);
    fields->addWidget(field, row, 1);
    if (extra != nullptr) fields->addWidget(extra, row, 2);
    ++row;
  };
  addField("Zylinder", cylinders_);
  addField("Takte", strokes_);
  fields->addWidget(new QLabel(QStringLiteral("Ladezeit"), this), row, 0);
  fields->addWidget(charge_, row, 1);
  fields->addWidget(chargeOriginal_, row, 2);
  fields->addWidget(new QLabel(QStringLiteral("msec"), this), row, 3);
  ++row;
  fields->addWidget(offsetLabel_, row, 0);
  fields->addWidget(offset_, row, 1);
  ++row;
  addField("Zähne", teeth_);
  addField("Lücke", gap_);
  fields->setRowStretch(row, 1);
  fields->setColumnStretch(4, 1);

  auto* options = new QVBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{tdc_, early_, freeOffset_, crank_}) {
    options->addWidget(w);
  }
  options->addSpacing(8);
  for (QWidget* w :
       std::initializer_list<QWidget*>{inductive_, inverted_, multiChannel_, wasteSpark_}) {
    options->addWidget(w);
  }
  options->addStretch(1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(extended);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QGridLayout(this);
  layout->addLayout(fields, 0, 0);
  layout->addLayout(options, 0, 1);
  layout->addLayout(buttons, 1, 0, 1, 2);

  shell::createTooltips(this, kTooltips);
}

TriggerMode BasicSettingsDialog::mode() const {
  if (crank_->isChecked()) return TriggerMode::Crank;
  if (freeOffset_->isChecked()) return TriggerMode::FreeOffset;
  if (early_->isChecked()) return TriggerMode::Early;
  return TriggerMode::Tdc;
}

bool BasicSettingsDialog::checkOffset() const {
  const auto v = fieldNumber(offset_);
  // The range follows the mode chosen in the dialog, which is the one the
  // value is saved with.
  return v &&
         offsetFieldRange(state_.record, offsetIsVersatz_ != 0, crank_->isChecked()).contains(*v);
}

void BasicSettingsDialog::applyModeRules() {
  const ModeRule rule = modeRule(mode(), offsetIsVersatz_ != 0);
  if (rule.setsOffset) setFieldNumber(offset_, rule.offsetValue);
  offset_->setEnabled(rule.offsetEnabled);
  teeth_->setEnabled(rule.wheelEnabled);
  gap_->setEnabled(rule.wheelEnabled);
  const bool quickStart = quickStartSet(state_.record);
  multiChannel_->setEnabled(!quickStart);
  wasteSpark_->setEnabled(!quickStart);
  crank_->setEnabled(!quickStart);
  if (state_.record.directModeActive) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{teeth_, gap_, offset_, tdc_, early_, freeOffset_, crank_,
                                         multiChannel_, wasteSpark_}) {
      w->setEnabled(false);
    }
  }
}

BasicSettingsForm BasicSettingsDialog::form() const {
  BasicSettingsForm f;
  f.cylinders = fieldNumber(cylinders_).value_or(0);
  f.strokes = fieldNumber(strokes_).value_or(0);
  f.chargeTenths = shell::getFixedField(charge_, kChargeDecimals);
  f.offset = fieldNumber(offset_).value_or(0);
  f.teeth = fieldNumber(teeth_).value_or(0);
  f.gap = fieldNumber(gap_).value_or(0);
  f.mode = mode();
  f.inductive = inductive_->isChecked();
  f.inverted = inverted_->isChecked();
  f.multiChannel = multiChannel_->isChecked();
  f.wasteSpark = wasteSpark_->isChecked();
  return f;
}

int32_t BasicSettingsDialog::save() {
  const int32_t status = saveBasicSettings(state_, offsetIsVersatz_ != 0, form());
  if (status != 0) prompts_.showMessage(status);
  return status;
}

void BasicSettingsDialog::openExtended() {
  // The form is saved before 151 opens, so it must pass its checks first.
  if (!checks_->checkAll()) return;
  save();
  ExtendedSettingsDialog extended(stack(), prompts_, state_.record, this);
  stack().run(ExtendedSettingsDialog::kKey, extended);
  // Quick start and the cylinder-1 sender may have changed.
  applyModeRules();
}

int32_t BasicSettingsDialog::handleCommand(int32_t command) {
  switch (command) {
    case kCommandOk:
      if (checks_->checkAll() && save() == 0) accept();
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
    default:
      return 1;
  }
}

}  // namespace ignition
