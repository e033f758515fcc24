#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli_prompts.h"
#include "link/module_link.h"
#include "modules/ignition/ignition_state.h"
#include "modules/ignition/pin_check.h"

namespace cli {

// Failure whose message has been printed already.
constexpr int32_t kReported = 1;

// "ignition read|write|show ...": args start after "ignition". 0 on
// success, -1 for a usage error (told on `err`), else kReported.
int32_t runIgnitionCommand(buslink::ModuleLink& link, const std::vector<std::string>& args,
                           std::ostream& out, std::ostream& err);

// The PIN from --pin, given once: a script would only use up the module's
// tries with the same wrong PIN. A wrong one prints the tries left.
class OptionPin : public ignition::PinEntry {
 public:
  OptionPin(const std::optional<std::string>& pin, CliPrompts& prompts, std::ostream& out)
      : pin_(pin), prompts_(prompts), out_(out) {}
  int32_t enterPin(ignition::IgnitionRecord& record, buslink::ModuleLink& link,
                   shell::UserPrompts& prompts) override;

 private:
  const std::optional<std::string>& pin_;
  CliPrompts& prompts_;
  std::ostream& out_;
};

// "1"-"4" hexadecimal digits.
bool isPinText(const std::string& text);

// The record and both curves as text, one value per line.
void printIgnition(const ignition::IgnitionState& state, std::ostream& out);

}  // namespace cli
