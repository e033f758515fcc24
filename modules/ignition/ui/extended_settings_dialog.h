#pragma once

#include <cstdint>
#include <functional>

#include "modules/ignition/extended_settings.h"
#include "modules/ignition/ui/ignition_dialog.h"
#include "shell/ui/dialog_table.h"

namespace shell {
class FieldChecks;
class UserPrompts;
}  // namespace shell

namespace ignition {

// "Zündung erweiterte Einstellungen" (151): special functions, logging,
// tuning potentiometer, shift light. "OK" stores into the record; the
// pressure dialog and the factory values open from here.
class ExtendedSettingsDialog : public IgnitionDialog {
 public:
  static constexpr int32_t kKey = 151;
  static constexpr int32_t kPressureButton = 3019;
  static constexpr int32_t kToolsButton = 3028;
  static constexpr int32_t kPinButton = 3233;
  static constexpr int32_t kFactoryButton = 3029;
  static constexpr int32_t kStartCount = 3202;
  static constexpr int32_t kLimiterCount = 3203;
  static constexpr int32_t kCamDetection = 3219;
  static constexpr int32_t kLogging = 3221;
  static constexpr int32_t kQuickStart = 3222;
  static constexpr int32_t kLogMode = 3223;
  static constexpr int32_t kPotiZeroToNine = 3224;
  static constexpr int32_t kPotiMinusFourToFive = 3225;
  static constexpr int32_t kPotiOff = 3226;
  static constexpr int32_t kCrankPlusTdc = 3227;
  static constexpr int32_t kHardLimiter = 3228;
  static constexpr int32_t kHalfVaneDetection = 3229;
  static constexpr int32_t kExternalDisplay = 3230;
  static constexpr int32_t kZ1SignalOff = 3232;
  static constexpr int32_t kHalfVaneOutput = 3234;
  static constexpr int32_t kSecondSpark = 3235;
  static constexpr int32_t kInductiveCompatibility = 3236;
  static constexpr int32_t kRpmOutputInverted = 3237;
  static constexpr int32_t kShiftLight = 3816;
  static constexpr int32_t kSenderMode = 3818;
  static constexpr int32_t kDirectMode = 3825;
  static constexpr int32_t kLowDirectMode = 3826;

  ExtendedSettingsDialog(DialogStack& stack, shell::UserPrompts& prompts, IgnitionRecord& record,
                         QWidget* parent);

  int32_t handleCommand(int32_t command) override;

  // "Tools": the page opens them over this dialog.
  void setTools(std::function<void(QWidget* parent)> open) { tools_ = std::move(open); }
  // "PIN": the page changes the module's PIN over this dialog.
  void setPinChange(std::function<void(QWidget* parent)> open) { pinChange_ = std::move(open); }

  // 0 or 8075 (shown; nothing stored).
  int32_t save();
  shell::FieldChecks& checks() const { return table_.checks(); }

 private:
  void load();
  void layOut();
  void applyQuickStartRule();
  ExtendedSettingsForm form() const;
  void openPressure();
  void openFactoryValues();

  shell::UserPrompts& prompts_;
  std::function<void(QWidget*)> tools_;
  std::function<void(QWidget*)> pinChange_;
  IgnitionRecord& record_;
  shell::DialogTable table_;
};

}  // namespace ignition
