#pragma once

#include <cstdint>
#include <functional>

#include "modules/ignition/ignition_tools.h"
#include "modules/ignition/ui/ignition_dialog.h"
#include "shell/ui/dialog_table.h"

class QTimer;

namespace ignition {

// "Zündungs-Tools" (186): the rpm-meter test, the control of the running
// module and the two viewers. The page runs what the buttons ask for.
class ToolsDialog : public IgnitionDialog {
 public:
  static constexpr int32_t kKey = 186;
  static constexpr int32_t kRpmMeter = 4001;
  static constexpr int32_t kTaktora = 4002;
  static constexpr int32_t kFunkora = 4003;
  static constexpr int32_t kControl = 4004;

  ToolsDialog(DialogStack& stack, std::function<void(int32_t button)> run, QWidget* parent);
  int32_t handleCommand(int32_t command) override;

 private:
  std::function<void(int32_t)> run_;
  shell::DialogTable table_;
};

// "Drehzahlmesser testen " (185): the module puts out an rpm signal for the
// speed in the field, sent anew every second and after every button.
class RpmMeterDialog : public IgnitionDialog {
 public:
  static constexpr int32_t kKey = 185;
  static constexpr int32_t kRpmField = 3600;
  static constexpr int32_t kUp = 4002;
  static constexpr int32_t kDown = 4003;
  static constexpr int kIntervalMs = 1000;

  RpmMeterDialog(DialogStack& stack, buslink::ModuleLink& link, const IgnitionRecord& record,
                 QWidget* parent);
  ~RpmMeterDialog() override;
  int32_t handleCommand(int32_t command) override;
  void tick();

 private:
  buslink::ModuleLink& link_;
  const IgnitionRecord& record_;
  shell::DialogTable table_;
  QTimer* timer_;
};

// "Zündungs-Steuerung" (189): curve, second spark and a curve shift of the
// running module, sent in turn every 100 ms; nothing is stored.
class ControlDialog : public IgnitionDialog {
 public:
  static constexpr int32_t kKey = 189;
  static constexpr int32_t kCurve1 = 4005;
  static constexpr int32_t kCurve2 = 4006;
  static constexpr int32_t kSecondSpark = 4007;
  static constexpr int32_t kEarlier = 3806;
  static constexpr int32_t kLater = 3807;
  static constexpr int32_t kShiftField = 3650;
  static constexpr int kIntervalMs = 100;

  ControlDialog(DialogStack& stack, buslink::ModuleLink& link, QWidget* parent);
  ~ControlDialog() override;
  int32_t handleCommand(int32_t command) override;
  void tick();
  const ControlState& state() const { return control_; }

 private:
  buslink::ModuleLink& link_;
  ControlState control_;
  shell::DialogTable table_;
  QTimer* timer_;
};

}  // namespace ignition
