#pragma once

#include <QPointer>
#include <cstdint>

class QDialog;

namespace shell {

class TabHostWindow;

// Small wait window 184 (no bar). The page that uses it owns one of these;
// while it is open the dialog key is 184.
class SmallWaitWindow {
 public:
  static constexpr int32_t kDialogKey = 184;
  static constexpr int32_t kTextControl = 411;

  ~SmallWaitWindow();

  // Does nothing while this one is already open.
  void open(TabHostWindow& host, int32_t textId);
  void close();
  bool isOpen() const { return dialog_ != nullptr; }
  QDialog* dialog() const { return dialog_; }

 private:
  QPointer<QDialog> dialog_;
  TabHostWindow* host_ = nullptr;
};

}  // namespace shell
