#pragma once

#include <cstdint>

#include "modules/ignition/ignition_record.h"
#include "modules/ignition/ui/ignition_dialog.h"
#include "shell/ui/dialog_table.h"

class QPlainTextEdit;

namespace ignition {

// "Zündung Fahrzeug Info" (163): the vehicle information texts. "OK" takes
// them into the record; they reach the module with the next write.
class VehicleInfoDialog : public IgnitionDialog {
 public:
  static constexpr int32_t kKey = 163;
  static constexpr int32_t kMaker = 3850;
  static constexpr int32_t kModel = 3851;
  static constexpr int32_t kVariant = 3853;
  static constexpr int32_t kComment = 3855;

  VehicleInfoDialog(DialogStack& stack, IgnitionRecord& record, QWidget* parent);

  int32_t handleCommand(int32_t command) override;
  QPlainTextEdit* comment() const { return comment_; }

 private:
  IgnitionRecord& record_;
  shell::DialogTable table_;
  QPlainTextEdit* comment_;
};

}  // namespace ignition
