#pragma once

#include <QDialog>
#include <cstddef>

class QLabel;
class QLineEdit;

namespace shell {

// Text-input dialog 500: a prompt, one edit that takes at most size - 1
// characters, OK. Escape cancels.
class TextInputDialog : public QDialog {
 public:
  static constexpr int32_t kPromptControl = 411;
  static constexpr int32_t kEditControl = 9101;

  TextInputDialog(const QString& prompt, const QString& text, size_t size, QWidget* parent);

  QString text() const;
  QLineEdit* edit() const { return edit_; }

 private:
  QLabel* prompt_;
  QLineEdit* edit_;
};

}  // namespace shell
