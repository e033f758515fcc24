#include "viewers/spark/ui/connect_pictures.h"

#include <QPainter>
#include <QPixmap>

namespace spark {

namespace {

constexpr int kSize = 32;

// A plug on the left, a socket on the right; plugged, they touch.
QPixmap connector(bool plugged) {
  QPixmap picture(kSize, kSize);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QColor body = plugged ? QColor(0, 150, 0) : QColor(110, 110, 110);
  p.setPen(QPen(body, 2));
  p.setBrush(body);
  const int gap = plugged ? 0 : 6;
  // The cable, the plug body and its two pins.
  p.drawLine(1, 16, 7, 16);
  p.drawRoundedRect(QRectF(7, 10, 7, 12), 2, 2);
  p.drawLine(14, 13, 17 - gap / 2, 13);
  p.drawLine(14, 19, 17 - gap / 2, 19);
  // The socket and its cable.
  p.drawRoundedRect(QRectF(17 + gap / 2, 9, 7, 14), 2, 2);
  p.drawLine(24 + gap / 2, 16, 31, 16);
  return picture;
}

}  // namespace

QIcon connectIcon() {
  QIcon icon;
  icon.addPixmap(connector(false), QIcon::Normal, QIcon::Off);
  icon.addPixmap(connector(true), QIcon::Normal, QIcon::On);
  return icon;
}

}  // namespace spark
