#include "viewers/trigger/ui/scope_view.h"

#include <QPainter>

namespace trigger {

ScopeView::ScopeView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ZFFront"));
  setCursor(Qt::CrossCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 100);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ScopeView::paintEvent(QPaintEvent* event) {
  (void)event;
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void ScopeView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (picture_.size() != size()) {
    picture_ = QImage(size(), QImage::Format_RGB32);
    picture_.fill(QColor(128, 128, 128));
  }
  emit resized();
}

}  // namespace trigger
