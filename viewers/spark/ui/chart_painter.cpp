#include "viewers/spark/ui/chart_painter.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QVector>

#include "viewers/spark/chart_geometry.h"
#include "viewers/spark/spark_core.h"

namespace spark {

QFont chartFont() {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(13);
  font.setBold(true);
  return font;
}

void clearChart(QImage& picture) {
  picture.fill(kChartBackground);
}

namespace {

// A run of the curve with the pen down goes out as one polyline; a polyline
// of a single point still marks its pixel, as a lone column should.
void flush(QPainter& painter, QVector<QPoint>& run) {
  if (run.size() == 1) painter.drawPoint(run.front());
  if (run.size() > 1) painter.drawPolyline(run.constData(), static_cast<int>(run.size()));
  run.clear();
}

}  // namespace

DrawnChart drawChart(QImage& picture, const SparkCore& core, int scaleIndex) {
  clearChart(picture);
  const ScaleButton& scale = scaleButton(scaleIndex);
  const int width = picture.width();
  const int height = picture.height();
  const double baseline = core.baseline();

  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing, false);

  const std::vector<GridLine> grid = speedGrid(scale, baseline);
  painter.setPen(QPen(kSpeedGridColour, 0));
  for (const GridLine& line : grid) painter.drawLine(0, line.y, width - 1, line.y);

  painter.setPen(QPen(kTimeGridColour, 0));
  for (int x : timeGrid(width, core.phase(), kColumnPeriod)) painter.drawLine(x, 0, x, height - 1);

  painter.setPen(QPen(kCurveColour, 0));
  const ChartColumns columns{core.minima(), core.maxima(), core.disturbedColumns(),
                             core.columnIndex()};
  QVector<QPoint> run;
  run.reserve(2 * static_cast<qsizetype>(core.maxima().size()) + 1);
  for (const PenStep& step : curvePath(columns, baseline, scale.scaleFactor)) {
    if (!step.draw) flush(painter, run);
    const QPoint point(step.x, step.y);
    // A column whose minimum equals its maximum repeats its point; Qt's
    // stroker would drop the end pixel of such a zero-length piece.
    if (run.isEmpty() || run.back() != point) run.append(point);
  }
  flush(painter, run);

  painter.setFont(chartFont());
  const QFontMetrics metrics(painter.font());
  const int lineHeight = metrics.height();
  painter.setPen(kLabelColour);
  for (const ScaleLabel& label : scaleLabels(grid, width)) {
    const QRect box(0, label.centreY - lineHeight / 2, label.rightX, lineHeight);
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(label.text));
  }

  DrawnChart drawn;
  drawn.scaleIndex = scaleIndex;
  drawn.columnIndex = core.columnIndex();
  drawn.overlay = overlayTexts(core.dataFlag(), core.disturbedFlag());
  painter.setPen(kOverlayColour);
  int y = kOverlayY;
  for (const std::string& text : drawn.overlay) {
    painter.drawText(QRect(kOverlayX, y, width - kOverlayX, lineHeight),
                     Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(text));
    y += lineHeight;
  }
  return drawn;
}

}  // namespace spark
