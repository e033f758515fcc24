#pragma once

#include <cstdint>

#include "link/module_link.h"
#include "modules/ignition/ignition_record.h"
#include "modules/ignition/ui/ignition_dialog.h"
#include "shell/ui/dialog_table.h"
#include "shell/user_prompts.h"

namespace ignition {

// "PIN eingeben" (161): asks for the module's PIN until the module takes
// it, the user gives up, or the module blocks further tries.
class PinEntryDialog : public IgnitionDialog {
 public:
  static constexpr int32_t kKey = 161;
  static constexpr int32_t kPin = 3813;

  PinEntryDialog(DialogStack& stack, IgnitionRecord& record, buslink::ModuleLink& link,
                 shell::UserPrompts& prompts, QWidget* parent);
  int32_t handleCommand(int32_t command) override;
  // 0 when the module took a PIN, 8049 when none was given, else a link error.
  int32_t status() const { return status_; }

 private:
  IgnitionRecord& record_;
  buslink::ModuleLink& link_;
  shell::UserPrompts& prompts_;
  shell::DialogTable table_;
  int32_t status_;
};

}  // namespace ignition
