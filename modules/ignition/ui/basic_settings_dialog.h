#pragma once

#include <cstdint>
#include <functional>

#include "modules/ignition/basic_settings.h"
#include "modules/ignition/ui/ignition_dialog.h"
#include "shell/ui/dialog_table.h"

namespace shell {
class FieldChecks;
class UserPrompts;
}  // namespace shell

namespace ignition {

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
  static constexpr int32_t kChannels = 3819;
  static constexpr int32_t kAssistant = 3820;

  // `offsetIsVersatz` is the page's flag, decided anew on every opening.
  BasicSettingsDialog(DialogStack& stack, shell::UserPrompts& prompts, IgnitionState& state,
                      int32_t& offsetIsVersatz, QWidget* parent);

  int32_t handleCommand(int32_t command) override;

  // "Assistent": the page runs the assistant over its state.
  void setAssistant(std::function<void()> run) { assistant_ = std::move(run); }
  // "Tools" in dialog 151.
  void setTools(std::function<void(QWidget* parent)> open) { tools_ = std::move(open); }
  // "PIN" in dialog 151.
  void setPinChange(std::function<void(QWidget* parent)> open) { pinChange_ = std::move(open); }
  // Fills the fields from the record again, as opening does.
  void reload() { load(); }

  // 0 or 8076 (shown; nothing stored).
  int32_t save();
  TriggerMode mode() const;
  shell::FieldChecks& checks() const { return table_.checks(); }

 private:
  void load();
  void addRules();
  void layOut();
  void applyModeRules();
  void openExtended();
  BasicSettingsForm form() const;

  shell::UserPrompts& prompts_;
  std::function<void()> assistant_;
  std::function<void(QWidget*)> tools_;
  std::function<void(QWidget*)> pinChange_;
  IgnitionState& state_;
  int32_t& offsetIsVersatz_;
  shell::DialogTable table_;
};

}  // namespace ignition
