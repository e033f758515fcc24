#include "shell/ui/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace shell {

namespace {

QPixmap drawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1f, 0x3a, 0x68));
  p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

  // A spark: a zig-zag bolt from the top right to the bottom left.
  QPainterPath bolt;
  bolt.moveTo(s * 0.62, s * 0.08);
  bolt.lineTo(s * 0.24, s * 0.56);
  bolt.lineTo(s * 0.47, s * 0.56);
  bolt.lineTo(s * 0.36, s * 0.92);
  bolt.lineTo(s * 0.78, s * 0.40);
  bolt.lineTo(s * 0.54, s * 0.40);
  bolt.closeSubpath();
  p.setBrush(QColor(0xff, 0xc8, 0x2e));
  if (size >= 32) p.setPen(QPen(QColor(0xff, 0xf2, 0xc0), s / 40.0));
  p.drawPath(bolt);
  return pixmap;
}

}  // namespace

QIcon programIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(drawIcon(size));
  return icon;
}

}  // namespace shell
