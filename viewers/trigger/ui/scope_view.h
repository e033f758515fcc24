#pragma once

#include <QImage>
#include <QWidget>

namespace trigger {

// The drawing area ("ZFFront"): shows the hidden picture ("ZF") that every
// drawing goes into first, so a picture appears in one piece.
class ScopeView : public QWidget {
  Q_OBJECT

 public:
  explicit ScopeView(QWidget* parent = nullptr);

  QImage& picture() { return picture_; }
  const QImage& picture() const { return picture_; }
  // Copies the hidden picture to the screen.
  void refresh() { update(); }

 signals:
  void resized();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace trigger
