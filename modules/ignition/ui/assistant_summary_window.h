#pragma once

#include <functional>
#include <string>

#include "modules/ignition/ui/ignition_dialog.h"
#include "shell/ui/dialog_table.h"

namespace ignition {

// "Zusammenfassung" (501): the hints the assistant gave, and "Schreiben" to
// write the module at once; the window stays open after writing.
class AssistantSummaryWindow : public IgnitionDialog {
 public:
  static constexpr int32_t kKey = 501;
  static constexpr int32_t kSummary = 9104;
  static constexpr int32_t kWriteButton = 3002;

  AssistantSummaryWindow(DialogStack& stack, const std::string& summary,
                         std::function<void()> write, QWidget* parent);

  int32_t handleCommand(int32_t command) override;

 private:
  std::function<void()> write_;
  shell::DialogTable table_;
};

}  // namespace ignition
