#include "modules/ignition/ui/ignition_dialog.h"

#include <QAbstractButton>

#include "modules/ignition/ui/qt_dialog_stack.h"

namespace ignition {

IgnitionDialog::IgnitionDialog(DialogStack& stack, QWidget* parent)
    : QDialog(parent), stack_(stack) {}

void IgnitionDialog::sendOnClick(QAbstractButton* button, int32_t command) {
  connect(button, &QAbstractButton::clicked, this, [this, command] { send(command); });
}

void IgnitionDialog::send(int32_t command) {
  stack_.send(*this, command);
}

}  // namespace ignition
