#include "viewers/spark/ui/chart_view.h"

#include <QPainter>

#include "viewers/spark/ui/chart_painter.h"

namespace spark {

ChartView::ChartView(QWidget* parent)
    : QWidget(parent), picture_(kChartWidth, kChartHeight, QImage::Format_RGB32) {
  setObjectName(QStringLiteral("ZF"));
  setFixedSize(kChartWidth, kChartHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  clearChart(picture_);
}

void ChartView::paintEvent(QPaintEvent* event) {
  (void)event;
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

}  // namespace spark
