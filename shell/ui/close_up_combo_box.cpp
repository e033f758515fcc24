#include "shell/ui/close_up_combo_box.h"

#include <QAbstractItemView>
#include <QTimer>

namespace shell {

void CloseUpComboBox::hidePopup() {
  // Qt also calls this when the box is hidden or disabled with no list open.
  const bool wasOpen = view() != nullptr && view()->window()->isVisible();
  QComboBox::hidePopup();
  // The entry clicked becomes current only after the list is hidden.
  if (wasOpen && onCloseUp) QTimer::singleShot(0, this, [this] { onCloseUp(); });
}

}  // namespace shell
