#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace shell {

// The only way operations talk to the user: they name text IDs, the program
// shows them with real dialogs and tests answer from a script. Texts are
// UTF-8.
class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // Message box with an OK button on the tab host, title "Tunvexa".
  virtual void showMessage(int32_t textId) = 0;
  // Yes/No box on the tab host; true = yes.
  virtual bool askYesNo(int32_t textId) = 0;
  // Message box with the number as decimal text.
  virtual void showNumber(int32_t value) = 0;
  // Asks for a text starting from `text`; accepts at most size - 1
  // characters. False = cancelled, `text` unchanged.
  virtual bool askText(int32_t promptTextId, std::string& text, size_t size) = 0;
  // The wait window with a progress bar of `steps` steps.
  virtual void openWaitWindow(int32_t steps, int32_t textId) = 0;
  // Advances the bar by one; safe to call from a worker thread.
  virtual void stepWaitWindow() = 0;
  virtual void closeWaitWindow() = 0;
};

}  // namespace shell
