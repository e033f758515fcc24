#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <string>

#include "shell/ui/wait_window.h"
#include "shell/user_prompts.h"

namespace buslink {
class ModuleLink;
}

namespace shell {

class TabHostWindow;

// UserPrompts with real dialogs: message boxes on the tab host, the wait
// window with its bar driven by the link's frames, the text-input box.
class QtPrompts : public QObject, public UserPrompts {
 public:
  explicit QtPrompts(buslink::ModuleLink& link);
  ~QtPrompts() override;

  // The owner of the boxes and windows and the keeper of the dialog key;
  // set once the tab host exists.
  void setHost(TabHostWindow* host) { host_ = host; }

  void showMessage(int32_t textId) override;
  bool askYesNo(int32_t textId) override;
  void showNumber(int32_t value) override;
  bool askText(int32_t promptTextId, std::string& text, size_t size) override;
  void openWaitWindow(int32_t steps, int32_t textId) override;
  void stepWaitWindow() override;
  void closeWaitWindow() override;

  // nullptr while no wait window is open.
  WaitWindow* waitWindow() const { return waitWindow_; }

 private:
  QWidget* owner() const;
  void stepNow();

  buslink::ModuleLink& link_;
  TabHostWindow* host_ = nullptr;
  QPointer<WaitWindow> waitWindow_;
};

// Empties the text first, then asks for it.
bool askTextEmpty(UserPrompts& prompts, int32_t promptTextId, std::string& text, size_t size);

}  // namespace shell
