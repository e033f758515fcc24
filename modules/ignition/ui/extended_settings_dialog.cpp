#include "modules/ignition/ui/extended_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "modules/ignition/dialog_text_ids.h"
#include "modules/ignition/ui/factory_values_dialog.h"
#include "modules/ignition/ui/pressure_settings_dialog.h"
#include "modules/ignition/ui/qt_dialog_stack.h"
#include "shell/ui/qt_field_checks.h"
#include "shell/ui/qt_text.h"
#include "shell/user_prompts.h"
#include "texts/text_ids.h"

namespace ignition {

namespace {

using D = ExtendedSettingsDialog;
using shell::cancelButton, shell::checkBox, shell::comboBox, shell::numberField, shell::okButton,
    shell::pushButton, shell::radioButton;

constexpr char kPoti[] = "Abstimmpoti";

constexpr shell::ControlRow kControls[] = {
    checkBox(D::kHardLimiter, "harter Limiter", 8661),
    checkBox(D::kExternalDisplay, "externe Anzeige", 8631),
    checkBox(D::kHalfVaneOutput, "erzeuge Halbflügel", 8638),
    checkBox(D::kInductiveCompatibility, "induktiver K-Modus", 8640),
    checkBox(D::kDirectMode, "Direkt-Modus ", 8623),
    checkBox(D::kLowDirectMode, "Low-Direkt-Modus ", 8701),
    checkBox(D::kSecondSpark, "Nachzünden", 8667),
    checkBox(D::kQuickStart, "Schnellstart", 8683),
    checkBox(D::kCamDetection, "Nockenerkennung", 8639),
    checkBox(D::kCrankPlusTdc, "KW + OT", 8672),
    checkBox(D::kHalfVaneDetection, "Halbflügelerkennung", 7101),
    checkBox(D::kZ1SignalOff, "Z1-Signal aus", 8823),
    checkBox(D::kRpmOutputInverted, "Drehzahlausgang inv.", 9017),
    checkBox(D::kLogging, "ein", 8664),
    // One digit; the field takes a single character.
    numberField(D::kLogMode, "Modus", 1, {0, 9}, 8665),
    radioButton(D::kPotiMinusFourToFive, "-4 - +5", kPoti, 8675),
    radioButton(D::kPotiZeroToNine, "0 - +9", kPoti, 8676),
    radioButton(D::kPotiOff, "aus", kPoti, 8674),
    comboBox(D::kSenderMode, "Gebermodus", 8637),
    numberField(D::kShiftLight, "Schaltblitz", 5, {1500, 12500}, 8619),
    numberField(D::kStartCount, "Startzahl", 2, {3, 20}, 8688),
    numberField(D::kLimiterCount, "Limitzahl", 3, {2, 200}, 8700),
    pushButton(D::kPressureButton, "Druck", 8627),
    pushButton(D::kToolsButton, "Tools", 8691),
    pushButton(D::kPinButton, "PIN"),
    pushButton(D::kFactoryButton, "Werkeinst.", 8702),
    okButton(D::kCommandOk, "OK"),
    cancelButton(D::kCommandCancel, "Abbruch"),
};

// The boxes in the order of the form's flags.
constexpr int32_t kBoxes[] = {
    D::kHardLimiter,       D::kExternalDisplay, D::kHalfVaneOutput,    D::kInductiveCompatibility,
    D::kDirectMode,        D::kLowDirectMode,   D::kSecondSpark,       D::kQuickStart,
    D::kCamDetection,      D::kCrankPlusTdc,    D::kHalfVaneDetection, D::kZ1SignalOff,
    D::kRpmOutputInverted,
};

}  // namespace

ExtendedSettingsDialog::ExtendedSettingsDialog(DialogStack& stack, shell::UserPrompts& prompts,
                                               IgnitionRecord& record, QWidget* parent)
    : IgnitionDialog(stack, parent),
      prompts_(prompts),
      record_(record),
      table_(this, kControls, prompts, sender()) {
  setWindowTitle(QStringLiteral("Zündung erweiterte Einstellungen"));
  auto* senderMode = table_.get<QComboBox>(kSenderMode);
  for (int32_t id : {texts::kTextSenderModeStandard, texts::kTextSenderModeProcar,
                     texts::kTextSenderModePointed}) {
    senderMode->addItem(shell::qtText(id));
  }
  load();
  layOut();
}

void ExtendedSettingsDialog::load() {
  const ExtendedSettingsForm f = extendedSettingsOf(record_);
  table_.setChecked(kHardLimiter, f.hardLimiter);
  table_.setChecked(kExternalDisplay, f.externalDisplay);
  table_.setChecked(kHalfVaneOutput, f.halfVaneOutput);
  table_.setChecked(kInductiveCompatibility, f.inductiveCompatibility);
  table_.setChecked(kDirectMode, f.directMode);
  table_.setChecked(kLowDirectMode, f.lowDirectMode);
  table_.setChecked(kSecondSpark, f.secondSpark);
  table_.setChecked(kQuickStart, f.quickStart);
  table_.setChecked(kCamDetection, f.camDetection);
  table_.setChecked(kCrankPlusTdc, f.crankPlusTdc);
  table_.setChecked(kHalfVaneDetection, f.halfVaneDetection);
  table_.setChecked(kZ1SignalOff, f.z1SignalOff);
  table_.setChecked(kRpmOutputInverted, f.rpmOutputInverted);
  table_.setChecked(kLogging, f.logging);
  table_.setNumber(kLogMode, f.logMode);
  table_.setChecked(kPotiMinusFourToFive, f.potiRange == kPotiRangeMinusFourToFive);
  table_.setChecked(kPotiZeroToNine, f.potiRange == kPotiRangeZeroToNine);
  table_.setChecked(kPotiOff, f.potiRange == kPotiRangeOff);
  table_.get<QComboBox>(kSenderMode)->setCurrentIndex(f.senderMode);
  table_.setNumber(kShiftLight, f.shiftLightRpm);
  table_.setNumber(kStartCount, f.startCount);
  table_.setNumber(kLimiterCount, f.limiterCount);
  applyQuickStartRule();
}

void ExtendedSettingsDialog::layOut() {
  auto* left = new QVBoxLayout;
  for (int32_t id : kBoxes) left->addWidget(table_.control(id));
  left->addStretch(1);

  auto* logGroup = new QGroupBox(QStringLiteral("Loggen"), this);
  auto* logLayout = new QHBoxLayout(logGroup);
  logLayout->addWidget(table_.control(kLogging));
  logLayout->addWidget(table_.caption(kLogMode));
  logLayout->addWidget(table_.control(kLogMode));
  logLayout->addStretch(1);

  auto* potiGroup = new QGroupBox(QString::fromUtf8(kPoti), this);
  auto* potiLayout = new QVBoxLayout(potiGroup);
  for (int32_t id : {kPotiMinusFourToFive, kPotiZeroToNine, kPotiOff}) {
    potiLayout->addWidget(table_.control(id));
  }

  auto* values = new QGridLayout;
  values->addWidget(table_.caption(kSenderMode), 0, 0, 1, 3);
  values->addWidget(table_.control(kSenderMode), 1, 0, 1, 3);
  values->addWidget(table_.caption(kShiftLight), 2, 0);
  values->addWidget(table_.control(kShiftLight), 2, 1);
  values->addWidget(new QLabel(QStringLiteral("1/min"), this), 2, 2);
  values->addWidget(table_.caption(kStartCount), 3, 0);
  values->addWidget(table_.control(kStartCount), 3, 1);
  values->addWidget(table_.caption(kLimiterCount), 4, 0);
  values->addWidget(table_.control(kLimiterCount), 4, 1);

  auto* right = new QVBoxLayout;
  right->addWidget(logGroup);
  right->addWidget(potiGroup);
  right->addLayout(values);
  right->addStretch(1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(table_.control(kPressureButton));
  buttons->addWidget(table_.control(kFactoryButton));
  buttons->addWidget(table_.control(kToolsButton));
  buttons->addWidget(table_.control(kPinButton));
  buttons->addStretch(1);
  buttons->addWidget(table_.control(kCommandOk));
  buttons->addWidget(table_.control(kCommandCancel));

  auto* layout = new QGridLayout(this);
  layout->addLayout(left, 0, 0);
  layout->addLayout(right, 0, 1);
  layout->addLayout(buttons, 1, 0, 1, 2);
}

void ExtendedSettingsDialog::applyQuickStartRule() {
  QWidget* quickStart = table_.control(kQuickStart);
  QWidget* camDetection = table_.control(kCamDetection);
  const QuickStartBoxes boxes =
      quickStartRule(record_, table_.isChecked(kCamDetection), table_.isChecked(kQuickStart));
  table_.setChecked(kQuickStart, boxes.quickChecked);
  quickStart->setEnabled(boxes.quickEnabled);
  camDetection->setEnabled(boxes.camEnabled);
  // Direct mode fires without the sender logic these three belong to.
  if (record_.directModeActive) {
    for (QWidget* w : {quickStart, camDetection, table_.control(kCrankPlusTdc)}) {
      w->setEnabled(false);
    }
    // A disabled quick start is an unchecked one.
    table_.setChecked(kQuickStart, false);
  }
}

ExtendedSettingsForm ExtendedSettingsDialog::form() const {
  ExtendedSettingsForm f;
  f.hardLimiter = table_.isChecked(kHardLimiter);
  f.quickStart = table_.isChecked(kQuickStart);
  f.halfVaneOutput = table_.isChecked(kHalfVaneOutput);
  f.externalDisplay = table_.isChecked(kExternalDisplay);
  f.inductiveCompatibility = table_.isChecked(kInductiveCompatibility);
  f.directMode = table_.isChecked(kDirectMode);
  f.secondSpark = table_.isChecked(kSecondSpark);
  f.lowDirectMode = table_.isChecked(kLowDirectMode);
  f.camDetection = table_.isChecked(kCamDetection);
  f.z1SignalOff = table_.isChecked(kZ1SignalOff);
  f.rpmOutputInverted = table_.isChecked(kRpmOutputInverted);
  f.crankPlusTdc = table_.isChecked(kCrankPlusTdc);
  f.halfVaneDetection = table_.isChecked(kHalfVaneDetection);
  f.logging = table_.isChecked(kLogging);
  f.potiRange = table_.isChecked(kPotiMinusFourToFive) ? kPotiRangeMinusFourToFive
                : table_.isChecked(kPotiZeroToNine)    ? kPotiRangeZeroToNine
                                                       : kPotiRangeOff;
  f.shiftLightRpm = table_.number(kShiftLight).value_or(0);
  f.startCount = table_.number(kStartCount).value_or(0);
  f.logMode = table_.number(kLogMode).value_or(0);
  f.senderMode = std::max(0, table_.get<QComboBox>(kSenderMode)->currentIndex());
  f.limiterCount = table_.number(kLimiterCount).value_or(0);
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
      if (checks().checkAll() && save() == 0) accept();
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
    case kToolsButton:
      if (tools_) tools_(this);
      return 0;
    case kPinButton:
      if (pinChange_) pinChange_(this);
      return 0;
    default:
      return 1;
  }
}

}  // namespace ignition
