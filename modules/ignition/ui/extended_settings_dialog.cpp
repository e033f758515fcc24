#include "modules/ignition/ui/extended_settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "modules/ignition/dialog_text_ids.h"
#include "modules/ignition/ui/factory_values_dialog.h"
#include "modules/ignition/ui/pressure_settings_dialog.h"
#include "modules/ignition/ui/qt_dialog_stack.h"
#include "modules/ignition/ui/qt_edit_fields.h"
#include "modules/ignition/ui/qt_field_checks.h"
#include "shell/ui/qt_controls.h"
#include "shell/ui/qt_text.h"
#include "shell/ui/qt_tooltips.h"
#include "shell/user_prompts.h"
#include "texts/text_ids.h"

namespace ignition {

namespace {

using D = ExtendedSettingsDialog;

constexpr shell::TooltipEntry kTooltips[] = {
    {D::kPressureButton, 8627},
    {D::kFactoryButton, 8702},
    {D::kStartCount, 8688},
    {D::kLimiterCount, 8700},
    {D::kCamDetection, 8639},
    {D::kLogging, 8664},
    {D::kQuickStart, 8683},
    {D::kLogMode, 8665},
    {D::kPotiZeroToNine, 8676},
    {D::kPotiMinusFourToFive, 8675},
    {D::kPotiOff, 8674},
    {D::kCrankPlusTdc, 8672},
    {D::kHardLimiter, 8661},
    {D::kHalfVaneDetection, 7101},
    {D::kExternalDisplay, 8631},
    {D::kZ1SignalOff, 8823},
    {D::kHalfVaneOutput, 8638},
    {D::kSecondSpark, 8667},
    {D::kInductiveCompatibility, 8640},
    {D::kRpmOutputInverted, 9017},
    {D::kShiftLight, 8619},
    {D::kSenderMode, 8637},
    {D::kDirectMode, 8623},
    {D::kLowDirectMode, 8701},
};

constexpr FieldRange kShiftLightRange{1500, 12500};
constexpr FieldRange kStartCountRange{3, 20};
constexpr FieldRange kLimiterCountRange{2, 200};
// One digit; the field takes a single character.
constexpr FieldRange kLogModeRange{0, 9};

}  // namespace

ExtendedSettingsDialog::ExtendedSettingsDialog(DialogStack& stack, shell::UserPrompts& prompts,
                                               IgnitionRecord& record, QWidget* parent)
    : IgnitionDialog(stack, parent), prompts_(prompts), record_(record) {
  setWindowTitle(QStringLiteral("Zündung erweiterte Einstellungen"));

  auto box = [this](const char* caption, int32_t id) {
    auto* b = new QCheckBox(QString::fromUtf8(caption), this);
    shell::setControlId(b, id);
    sendOnClick(b, id);
    return b;
  };
  hardLimiter_ = box("harter Limiter", kHardLimiter);
  externalDisplay_ = box("externe Anzeige", kExternalDisplay);
  halfVaneOutput_ = box("erzeuge Halbflügel", kHalfVaneOutput);
  inductiveCompatibility_ = box("induktiver K-Modus", kInductiveCompatibility);
  directMode_ = box("Direkt-Modus ", kDirectMode);
  lowDirectMode_ = box("Low-Direkt-Modus ", kLowDirectMode);
  secondSpark_ = box("Nachzünden", kSecondSpark);
  quickStart_ = box("Schnellstart", kQuickStart);
  camDetection_ = box("Nockenerkennung", kCamDetection);
  crankPlusTdc_ = box("KW + OT", kCrankPlusTdc);
  halfVaneDetection_ = box("Halbflügelerkennung", kHalfVaneDetection);
  z1SignalOff_ = box("Z1-Signal aus", kZ1SignalOff);
  rpmOutputInverted_ = box("Drehzahlausgang inv.", kRpmOutputInverted);
  logging_ = box("ein", kLogging);
  logMode_ = makeNumberField(this, kLogMode, 1);

  auto radio = [this](const char* caption, int32_t id) {
    auto* b = new QRadioButton(QString::fromUtf8(caption), this);
    shell::setControlId(b, id);
    sendOnClick(b, id);
    return b;
  };
  potiMinusFourToFive_ = radio("-4 - +5", kPotiMinusFourToFive);
  potiZeroToNine_ = radio("0 - +9", kPotiZeroToNine);
  potiOff_ = radio("aus", kPotiOff);
  auto* poti = new QButtonGroup(this);
  for (QRadioButton* b : {potiMinusFourToFive_, potiZeroToNine_, potiOff_}) poti->addButton(b);

  senderMode_ = new QComboBox(this);
  shell::setControlId(senderMode_, kSenderMode);
  for (int32_t id : {texts::kTextSenderModeStandard, texts::kTextSenderModeProcar,
                     texts::kTextSenderModePointed}) {
    senderMode_->addItem(shell::qtText(id));
  }
  shiftLight_ = makeNumberField(this, kShiftLight, 5);
  startCount_ = makeNumberField(this, kStartCount, 2);
  limiterCount_ = makeNumberField(this, kLimiterCount, 3);

  auto button = [this](const char* caption, int32_t id) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    shell::setControlId(b, id);
    b->setAutoDefault(false);
    sendOnClick(b, id);
    return b;
  };
  QPushButton* pressure = button("Druck", kPressureButton);
  QPushButton* factory = button("Werkeinst.", kFactoryButton);
  QPushButton* ok = button("OK", kCommandOk);
  ok->setDefault(true);
  QPushButton* cancel = button("Abbruch", kCommandCancel);

  // Opening: the fields from the record.
  const ExtendedSettingsForm f = extendedSettingsOf(record_);
  hardLimiter_->setChecked(f.hardLimiter);
  externalDisplay_->setChecked(f.externalDisplay);
  halfVaneOutput_->setChecked(f.halfVaneOutput);
  inductiveCompatibility_->setChecked(f.inductiveCompatibility);
  directMode_->setChecked(f.directMode);
  lowDirectMode_->setChecked(f.lowDirectMode);
  secondSpark_->setChecked(f.secondSpark);
  quickStart_->setChecked(f.quickStart);
  camDetection_->setChecked(f.camDetection);
  crankPlusTdc_->setChecked(f.crankPlusTdc);
  halfVaneDetection_->setChecked(f.halfVaneDetection);
  z1SignalOff_->setChecked(f.z1SignalOff);
  rpmOutputInverted_->setChecked(f.rpmOutputInverted);
  logging_->setChecked(f.logging);
  setFieldNumber(logMode_, f.logMode);
  potiMinusFourToFive_->setChecked(f.potiRange == kPotiRangeMinusFourToFive);
  potiZeroToNine_->setChecked(f.potiRange == kPotiRangeZeroToNine);
  potiOff_->setChecked(f.potiRange == kPotiRangeOff);
  senderMode_->setCurrentIndex(f.senderMode);
  setFieldNumber(shiftLight_, f.shiftLightRpm);
  setFieldNumber(startCount_, f.startCount);
  setFieldNumber(limiterCount_, f.limiterCount);
  applyQuickStartRule();

  checks_ = new FieldChecks(this);
  auto inRange = [](QLineEdit* field, FieldRange range) {
    return [field, range] {
      const auto v = fieldNumber(field);
      return v && range.contains(*v);
    };
  };
  auto report = [this] { prompts_.showMessage(texts::kTextParameterOutOfRange); };
  checks_->add(shiftLight_, inRange(shiftLight_, kShiftLightRange), report);
  checks_->add(startCount_, inRange(startCount_, kStartCountRange), report);
  checks_->add(limiterCount_, inRange(limiterCount_, kLimiterCountRange), report);
  checks_->add(logMode_, inRange(logMode_, kLogModeRange), report);
  checks_->exempt(ok);
  checks_->exempt(cancel);

  auto* left = new QVBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{
           hardLimiter_, externalDisplay_, halfVaneOutput_, inductiveCompatibility_, directMode_,
           lowDirectMode_, secondSpark_, quickStart_, camDetection_, crankPlusTdc_,
           halfVaneDetection_, z1SignalOff_, rpmOutputInverted_}) {
    left->addWidget(w);
  }
  left->addStretch(1);

  auto* logGroup = new QGroupBox(QStringLiteral("Loggen"), this);
  auto* logLayout = new QHBoxLayout(logGroup);
  logLayout->addWidget(logging_);
  logLayout->addWidget(new QLabel(QStringLiteral("Modus"), logGroup));
  logLayout->addWidget(logMode_);
  logLayout->addStretch(1);

  auto* potiGroup = new QGroupBox(QStringLiteral("Abstimmpoti"), this);
  auto* potiLayout = new QVBoxLayout(potiGroup);
  potiLayout->addWidget(potiMinusFourToFive_);
  potiLayout->addWidget(potiZeroToNine_);
  potiLayout->addWidget(potiOff_);

  auto* values = new QGridLayout;
  values->addWidget(new QLabel(QStringLiteral("Gebermodus"), this), 0, 0, 1, 3);
  values->addWidget(senderMode_, 1, 0, 1, 3);
  values->addWidget(new QLabel(QStringLiteral("Schaltblitz"), this), 2, 0);
  values->addWidget(shiftLight_, 2, 1);
  values->addWidget(new QLabel(QStringLiteral("1/min"), this), 2, 2);
  values->addWidget(new QLabel(QStringLiteral("Startzahl"), this), 3, 0);
  values->addWidget(startCount_, 3, 1);
  values->addWidget(new QLabel(QStringLiteral("Limitzahl"), this), 4, 0);
  values->addWidget(limiterCount_, 4, 1);

  auto* right = new QVBoxLayout;
  right->addWidget(logGroup);
  right->addWidget(potiGroup);
  right->addLayout(values);
  right->addStretch(1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(pressure);
  buttons->addWidget(factory);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QGridLayout(this);
  layout->addLayout(left, 0, 0);
  layout->addLayout(right, 0, 1);
  layout->addLayout(buttons, 1, 0, 1, 2);

  shell::createTooltips(this, kTooltips);
}

void ExtendedSettingsDialog::applyQuickStartRule() {
  const QuickStartBoxes boxes =
      quickStartRule(record_, camDetection_->isChecked(), quickStart_->isChecked());
  quickStart_->setChecked(boxes.quickChecked);
  quickStart_->setEnabled(boxes.quickEnabled);
  camDetection_->setEnabled(boxes.camEnabled);
  // Direct mode fires without the sender logic these three belong to.
  if (record_.directModeActive) {
    for (QCheckBox* b : {quickStart_, camDetection_, crankPlusTdc_}) b->setEnabled(false);
    // A disabled quick start is an unchecked one.
    quickStart_->setChecked(false);
  }
}

ExtendedSettingsForm ExtendedSettingsDialog::form() const {
  ExtendedSettingsForm f;
  f.hardLimiter = hardLimiter_->isChecked();
  f.quickStart = quickStart_->isChecked();
  f.halfVaneOutput = halfVaneOutput_->isChecked();
  f.externalDisplay = externalDisplay_->isChecked();
  f.inductiveCompatibility = inductiveCompatibility_->isChecked();
  f.directMode = directMode_->isChecked();
  f.secondSpark = secondSpark_->isChecked();
  f.lowDirectMode = lowDirectMode_->isChecked();
  f.camDetection = camDetection_->isChecked();
  f.z1SignalOff = z1SignalOff_->isChecked();
  f.rpmOutputInverted = rpmOutputInverted_->isChecked();
  f.crankPlusTdc = crankPlusTdc_->isChecked();
  f.halfVaneDetection = halfVaneDetection_->isChecked();
  f.logging = logging_->isChecked();
  f.potiRange = potiMinusFourToFive_->isChecked() ? kPotiRangeMinusFourToFive
                : potiZeroToNine_->isChecked()    ? kPotiRangeZeroToNine
                                                  : kPotiRangeOff;
  f.shiftLightRpm = fieldNumber(shiftLight_).value_or(0);
  f.startCount = fieldNumber(startCount_).value_or(0);
  f.logMode = fieldNumber(logMode_).value_or(0);
  f.senderMode = std::max(0, senderMode_->currentIndex());
  f.limiterCount = fieldNumber(limiterCount_).value_or(0);
  return f;
}

int32_t ExtendedSettingsDialog::save() {
  const int32_t status = saveExtendedSettings(record_, form());
  if (status != 0) prompts_.showMessage(status);
  return status;
}

void ExtendedSettingsDialog::openPressure() {
  PressureSettingsDialog pressure(stack(), prompts_, record_, this);
  stack().run(PressureSettingsDialog::kKey, pressure);
}

void ExtendedSettingsDialog::openFactoryValues() {
  FactoryValuesDialog factory(stack(), record_, this);
  stack().run(FactoryValuesDialog::kKey, factory);
}

int32_t ExtendedSettingsDialog::handleCommand(int32_t command) {
  switch (command) {
    case kCommandOk:
      if (checks_->checkAll() && save() == 0) accept();
      return 0;
    case kCommandCancel:
      reject();
      return 0;
    case kCamDetection:
    case kQuickStart:
    case kDirectMode:
      applyQuickStartRule();
      return 0;
    case kPressureButton:
      openPressure();
      return 0;
    case kFactoryButton:
      openFactoryValues();
      return 0;
    default:
      return 1;
  }
}

}  // namespace ignition
