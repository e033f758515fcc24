#pragma once

#include <cstdint>

#include "link/module_link.h"
#include "modules/ignition/ignition_state.h"
#include "modules/ignition/ui/ignition_dialog.h"
#include "shell/ui/dialog_table.h"

namespace ignition {

// "PIN ändern" (160): a new PIN and "Zünden sperren"; "Ok" gives the
// module's present PIN first (the PIN check).
class PinChangeDialog : public IgnitionDialog {
 public:
  static constexpr int32_t kKey = 160;
  static constexpr int32_t kNewPin = 3812;
  static constexpr int32_t kLockIgnition = 3814;

  PinChangeDialog(DialogStack& stack, IgnitionState& state, buslink::ModuleLink& link,
                  shell::UserPrompts& prompts, QWidget* parent);
  int32_t handleCommand(int32_t command) override;
  int32_t result() const { return result_; }

 private:
  IgnitionState& state_;
  buslink::ModuleLink& link_;
  shell::UserPrompts& prompts_;
  shell::DialogTable table_;
  int32_t result_ = -1;
};

}  // namespace ignition
