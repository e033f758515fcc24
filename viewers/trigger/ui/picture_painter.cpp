#include "viewers/trigger/ui/picture_painter.h"

#include <QFont>
#include <QPainter>
#include <QPolygon>

namespace trigger {

QColor qColour(uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

void paintPicture(QImage& image, const Picture& picture) {
  QPainter p(&image);
  for (const Fill& f : picture.fills) {
    p.fillRect(QRect(QPoint(f.left, f.top), QPoint(f.right - 1, f.bottom - 1)), qColour(f.colour));
  }
  for (const Trace& t : picture.traces) {
    const QColor colour = qColour(t.colour);
    for (const Fill& v : t.verticals) {
      p.fillRect(QRect(QPoint(v.left, v.top), QPoint(v.right - 1, v.bottom - 1)), colour);
    }
    if (t.points.size() < 2) continue;
    QPolygon line(static_cast<int>(t.points.size()));
    for (size_t i = 0; i < t.points.size(); ++i) {
      line.setPoint(static_cast<int>(i), t.points[i].x, t.points[i].y);
    }
    p.setPen(colour);
    p.drawPolyline(line);
  }
  if (picture.labels.empty()) return;
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSize(12);
  font.setBold(true);
  p.setFont(font);
  const int ascent = p.fontMetrics().ascent();
  for (const Label& l : picture.labels) {
    p.setPen(qColour(l.colour));
    p.drawText(l.x, l.y + ascent, QString::fromStdString(l.text));
  }
}

}  // namespace trigger
