#include "modules/ignition/ui/qt_dialog_stack.h"

#include <QDialog>
#include <algorithm>

#include "modules/ignition/ui/ignition_dialog.h"
#include "shell/ui/tab_host_window.h"

namespace ignition {

int DialogStack::run(int32_t key, QDialog& dialog) {
  open_.push_back({key, &dialog});
  const int result = host_ != nullptr ? host_->runSubDialog(key, dialog) : dialog.exec();
  open_.pop_back();
  return result;
}

void DialogStack::send(IgnitionDialog& from, int32_t command) {
  const bool routed = host_ != nullptr && !open_.empty() && open_.back().dialog == &from &&
                      host_->dialogKey() == open_.back().key;
  if (routed) {
    host_->sendCommand(command);
  } else {
    from.handleCommand(command);
  }
}

int32_t DialogStack::handleCommand(int32_t key, int32_t command) {
  auto* dialog = dynamic_cast<IgnitionDialog*>(openDialog(key));
  return dialog != nullptr ? dialog->handleCommand(command) : 1;
}

QDialog* DialogStack::openDialog(int32_t key) const {
  const auto it =
      std::find_if(open_.rbegin(), open_.rend(), [key](const Open& o) { return o.key == key; });
  return it == open_.rend() ? nullptr : it->dialog.data();
}

}  // namespace ignition
