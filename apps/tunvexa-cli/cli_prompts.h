#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

#include "shell/user_prompts.h"

namespace cli {

// The command line's stand-in for message boxes: every text the program
// would show is printed as a line of its own, questions are answered from
// the command line's options, and the wait window stays invisible.
class CliPrompts : public shell::UserPrompts {
 public:
  // `yes` answers every yes/no question; `typedText` answers every request
  // for a text (none: the request is cancelled).
  CliPrompts(std::ostream& out, bool yes, std::optional<std::string> typedText)
      : out_(out), yes_(yes), typedText_(std::move(typedText)) {}

  void showMessage(int32_t textId) override;
  bool askYesNo(int32_t textId) override;
  void showNumber(int32_t value) override;
  bool askText(int32_t promptTextId, std::string& text, size_t size) override;
  void openWaitWindow(int32_t, int32_t) override {}
  void stepWaitWindow() override {}
  void closeWaitWindow() override {}

 private:
  std::ostream& out_;
  bool yes_;
  std::optional<std::string> typedText_;
};

}  // namespace cli
