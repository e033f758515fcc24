#pragma once

#include <QImage>
#include <QWidget>

namespace spark {

// The chart ("ZF"): a kept picture that drawing goes into and that the
// widget shows, so what was drawn stays until the next drawing.
class ChartView : public QWidget {
  Q_OBJECT

 public:
  explicit ChartView(QWidget* parent = nullptr);

  QImage& picture() { return picture_; }
  const QImage& picture() const { return picture_; }
  // Shows what was drawn into the picture.
  void refresh() { update(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace spark
