#pragma once

#include <QDialog>
#include <cstdint>

#include "shell/ui/dialog_table.h"

namespace ignition {

class DialogStack;

// A sub-dialog of the ignition page. Its buttons and boxes only send their
// command numbers; the tab host routes them by the dialog key to the page,
// which hands them back here. So the same rules run however a command comes
// in, and a test can send one without a mouse.
class IgnitionDialog : public QDialog {
 public:
  static constexpr int32_t kCommandOk = 1;
  static constexpr int32_t kCommandCancel = 2;

  IgnitionDialog(DialogStack& stack, QWidget* parent);

  // 0 = handled.
  virtual int32_t handleCommand(int32_t command) = 0;

  DialogStack& stack() const { return stack_; }

 protected:
  // Sends the command the way a click does.
  void send(int32_t command);
  // For the dialog's control table: a click sends the control's number.
  shell::DialogTable::Send sender();

 private:
  DialogStack& stack_;
};

}  // namespace ignition
