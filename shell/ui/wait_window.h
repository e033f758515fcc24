#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace shell {

// Wait dialog 178: a text at the top and a bar along the bottom; no
// buttons, it stays until the operation closes it.
class WaitWindow : public QDialog {
 public:
  static constexpr int32_t kTextControl = 410;

  WaitWindow(int32_t steps, const QString& text, QWidget* parent);

  void step();
  QProgressBar* bar() const { return bar_; }
  QLabel* label() const { return label_; }

 protected:
  void reject() override {}  // Escape does not close it
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* label_;
  QProgressBar* bar_;
};

}  // namespace shell
