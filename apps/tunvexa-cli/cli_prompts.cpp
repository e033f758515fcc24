#include "cli_prompts.h"

#include <ostream>

#include "texts/text_table.h"

namespace cli {

void CliPrompts::showMessage(int32_t textId) {
  out_ << texts::text(textId) << "\n";
}

bool CliPrompts::askYesNo(int32_t textId) {
  out_ << texts::text(textId) << "\n";
  return yes_;
}

void CliPrompts::showNumber(int32_t value) {
  out_ << value << "\n";
}

bool CliPrompts::askText(int32_t, std::string& text, size_t size) {
  if (!typedText_) return false;
  // Like the edit field, which takes no more than the buffer holds.
  text = typedText_->substr(0, size > 0 ? size - 1 : 0);
  return true;
}

}  // namespace cli
