#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "shell/user_prompts.h"

namespace shell {

// UserPrompts for tests: records every call and answers from queues, so an
// operation runs to its end without a window.
class ScriptedPrompts : public UserPrompts {
 public:
  std::vector<int32_t> messages;                       // text IDs shown (showMessage), in order
  std::vector<int32_t> questions;                      // text IDs asked (askYesNo), in order
  std::vector<int32_t> numbers;                        // showNumber values
  std::vector<int32_t> textPrompts;                    // prompt text IDs of askText
  std::deque<bool> yesNoAnswers;                       // an empty queue answers no
  std::deque<std::optional<std::string>> textAnswers;  // nullopt or an empty queue = cancel
  int waitSteps = 0, waitOpened = 0, waitClosed = 0;
  int32_t lastWaitSteps = 0, lastWaitText = 0;
  // Every call in order, e.g. "openWait 12 8300", "step", "closeWait",
  // "message 8016", "ask 8070 yes", "number 5", "text 8071 cancel" (steps are
  // counted, not logged, because worker threads make them).
  std::vector<std::string> calls;

  void showMessage(int32_t textId) override;
  bool askYesNo(int32_t textId) override;
  void showNumber(int32_t value) override;
  bool askText(int32_t promptTextId, std::string& text, size_t size) override;
  void openWaitWindow(int32_t steps, int32_t textId) override;
  void stepWaitWindow() override;
  void closeWaitWindow() override;
};

}  // namespace shell
