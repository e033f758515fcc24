#pragma once

#include <cstdint>

#include "modules/ignition/basic_settings.h"
#include "modules/ignition/ui/ignition_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace shell {
class UserPrompts;
}

namespace ignition {

class FieldChecks;

// "Zündungs-Einstellungen" (150): engine, sender and trigger mode. Edits the
// record in place when saved ("OK", and before "erweitert").
class BasicSettingsDialog : public IgnitionDialog {
 public:
  static constexpr int32_t kKey = 150;
  static constexpr int32_t kCylinders = 3200;
  static constexpr int32_t kStrokes = 3201;
  static constexpr int32_t kChargeTime = 3203;
  static constexpr int32_t kChargeTimeOriginal = 3204;
  static constexpr int32_t kOffsetField = 3205;
  static constexpr int32_t kOffsetLabel = 3857;
  static constexpr int32_t kTeeth = 3206;
  static constexpr int32_t kGap = 3207;
  static constexpr int32_t kModeTdc = 3212;
  static constexpr int32_t kModeEarly = 3214;
  static constexpr int32_t kModeFreeOffset = 3215;
  static constexpr int32_t kModeCrank = 3216;
  static constexpr int32_t kInverted = 3217;
  static constexpr int32_t kMultiChannel = 3218;
  static constexpr int32_t kWasteSpark = 3220;
  static constexpr int32_t kInductive = 3229;
  static constexpr int32_t kExtended = 3817;

  // `offsetIsVersatz` is the page's flag, decided anew on every opening.
  BasicSettingsDialog(DialogStack& stack, shell::UserPrompts& prompts, IgnitionState& state,
                      int32_t& offsetIsVersatz, QWidget* parent);

  int32_t handleCommand(int32_t command) override;

  // 0 or 8076 (shown; nothing stored).
  int32_t save();
  TriggerMode mode() const;
  FieldChecks& checks() const { return *checks_; }

 private:
  void applyModeRules();
  void openExtended();
  BasicSettingsForm form() const;
  bool checkOffset() const;

  shell::UserPrompts& prompts_;
  IgnitionState& state_;
  int32_t& offsetIsVersatz_;
  QLineEdit* cylinders_;
  QLineEdit* strokes_;
  QLineEdit* charge_;
  QLineEdit* chargeOriginal_;
  QLabel* offsetLabel_;
  QLineEdit* offset_;
  QLineEdit* teeth_;
  QLineEdit* gap_;
  QRadioButton* tdc_;
  QRadioButton* early_;
  QRadioButton* freeOffset_;
  QRadioButton* crank_;
  QCheckBox* inductive_;
  QCheckBox* inverted_;
  QCheckBox* multiChannel_;
  QCheckBox* wasteSpark_;
  FieldChecks* checks_;
};

}  // namespace ignition
