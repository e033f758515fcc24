#include "shell/ui/qt_arrow_key_filter.h"

#include <QEvent>
#include <QKeyEvent>

namespace shell {

ArrowKeyFilter::ArrowKeyFilter(std::function<void(int32_t)> send) : send_(std::move(send)) {}

bool ArrowKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  // Like an accelerator without modifier flags: Shift, Ctrl or Alt held
  // means the key is not ours.
  const Qt::KeyboardModifiers held = key->modifiers() & ~Qt::KeypadModifier;
  if (held != Qt::NoModifier) return false;
  if (key->key() == Qt::Key_Left) {
    send_(kCommandArrowLeft);
    return true;
  }
  if (key->key() == Qt::Key_Right) {
    send_(kCommandArrowRight);
    return true;
  }
  return false;
}

}  // namespace shell
