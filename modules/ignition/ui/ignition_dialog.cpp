#include "modules/ignition/ui/ignition_dialog.h"

#include "modules/ignition/ui/qt_dialog_stack.h"

namespace ignition {

IgnitionDialog::IgnitionDialog(DialogStack& stack, QWidget* parent)
    : QDialog(parent), stack_(stack) {}

void IgnitionDialog::send(int32_t command) {
  stack_.send(*this, command);
}

shell::DialogTable::Send IgnitionDialog::sender() {
  return [this](int32_t command) { send(command); };
}

}  // namespace ignition
