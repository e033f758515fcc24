#include "shell/ui/qt_dialog_units.h"

#include <QFontMetrics>
#include <QWidget>

namespace shell {

QSize dialogUnits(const QWidget* widget, int width, int height) {
  const QFontMetrics metrics(widget->font());
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  const int baseX = (letters + 26) / 52;
  const int baseY = metrics.height();
  return QSize(width * baseX / 4, height * baseY / 8);
}

}  // namespace shell
