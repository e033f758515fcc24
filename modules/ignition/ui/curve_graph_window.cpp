#include "modules/ignition/ui/curve_graph_window.h"

#include <QPainter>
#include <QPolygon>

#include "shell/ui/qt_dialog_units.h"

namespace ignition {

namespace {

const QColor kGrey(128, 128, 128);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 192, 0);
const QColor kBlue(0, 0, 255);
constexpr int kCurvePenWidth = 2;
constexpr int kLabelBoxWidth = 60;
constexpr int kLabelBoxHeight = 16;
constexpr int kRpmLabelWidth = 40;
constexpr int kGridRpmStep = 500;
constexpr int kRpmLabelStep = 1000;
constexpr int kGridAngleStep = 5;
constexpr int kAngleLabelStep = 10;
constexpr int kCurve1LabelAngle = 25;
constexpr int kCurve2LabelAngle = 15;

QFont graphFont() {
  // The module tools' small dialog font; the family falls back to the
  // desktop's sans serif where it is not installed.
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  return font;
}

}  // namespace

CurveGraphWindow::CurveGraphWindow(std::vector<GraphCurvePoint> curve1,
                                   std::vector<GraphCurvePoint> curve2, int32_t limiterRpm,
                                   bool hardLimiter, QWidget* parent)
    : QDialog(parent),
      curve1_(std::move(curve1)),
      curve2_(std::move(curve2)),
      limiterRpm_(limiterRpm),
      hardLimiter_(hardLimiter) {
  setWindowTitle(QStringLiteral("Zündkurve"));
  setFixedSize(shell::dialogUnits(this, 427, 250));
  geometry_ = graphGeometry(width(), height());
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
}

void CurveGraphWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  geometry_ = graphGeometry(width(), height());
}

void CurveGraphWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintGraph(painter);
}

void CurveGraphWindow::drawAngleLabel(QPainter& painter, int32_t angle, const QString& text) const {
  const int y = graphAngleY(geometry_, angle);
  painter.drawText(QRect(geometry_.x0 - kLabelBoxWidth, y - kLabelBoxHeight / 2, kLabelBoxWidth,
                         kLabelBoxHeight),
                   Qt::AlignRight | Qt::AlignVCenter, text);
}

void CurveGraphWindow::drawCurve(QPainter& painter,
                                 const std::vector<GraphCurvePoint>& curve) const {
  const std::vector<GraphPoint> line = curvePolyline(geometry_, curve, limiterRpm_, hardLimiter_);
  QPolygon polygon;
  for (const GraphPoint& p : line) polygon << QPoint(p.x, p.y);
  if (polygon.size() > 1) painter.drawPolyline(polygon);
}

void CurveGraphWindow::paintGraph(QPainter& painter) const {
  const GraphGeometry& g = geometry_;
  painter.save();
  // Lines as the module tools always drew them: one pixel exact, no blending.
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setFont(graphFont());
  painter.setBackgroundMode(Qt::TransparentMode);

  painter.setPen(kRed);
  drawAngleLabel(painter, kCurve1LabelAngle, QStringLiteral("Kurve 1 "));
  painter.setPen(kGreen);
  drawAngleLabel(painter, kCurve2LabelAngle, QStringLiteral("Kurve 2 "));

  painter.setPen(QPen(kGrey, 1));
  const int top = graphY(g, kGraphScale);
  const int bottom = graphY(g, 0);
  for (int rpm = 0; rpm <= kGraphMaxRpm; rpm += kGridRpmStep) {
    const int x = graphX(g, rpm);
    painter.drawLine(x, bottom, x, top);
    if (rpm % kRpmLabelStep == 0) {
      painter.drawText(QRect(x - kRpmLabelWidth / 2, g.y0, kRpmLabelWidth, kLabelBoxHeight),
                       Qt::AlignCenter, QString::number(rpm));
    }
  }
  const int left = graphX(g, 0);
  const int right = graphX(g, kGraphMaxRpm);
  for (int angle = kGraphMinAngle; angle <= kGraphMaxAngle; angle += kGridAngleStep) {
    const int y = graphAngleY(g, angle);
    painter.drawLine(left, y, right, y);
    if (angle % kAngleLabelStep == 0) {
      drawAngleLabel(painter, angle, QString::number(angle) + QLatin1Char(' '));
    }
  }

  painter.setPen(QPen(kGreen, kCurvePenWidth));
  drawCurve(painter, curve2_);
  painter.setPen(QPen(kRed, kCurvePenWidth));
  drawCurve(painter, curve1_);
  if (limiterRpm_ > 0) {
    painter.setPen(QPen(kBlue, 1));
    const int x = graphX(g, limiterRpm_);
    painter.drawLine(x, bottom, x, top);
  }
  painter.restore();
}

}  // namespace ignition
