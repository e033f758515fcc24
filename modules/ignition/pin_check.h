#pragma once

#include <cstdint>
#include <string>

#include "link/module_link.h"
#include "modules/ignition/ignition_record.h"
#include "shell/user_prompts.h"

namespace ignition {

// Bits of the module's PIN status (byte 2 of special function 0x40).
namespace pin {
constexpr uint8_t kStatusCode = 0x40;
constexpr uint8_t kTryHighCode = 0x41;
constexpr uint8_t kTryLowCode = 0x42;
constexpr uint8_t kEntryBlocked = 1 << 0;
constexpr uint8_t kPinSet = 1 << 1;
constexpr uint8_t kPinGiven = 1 << 2;
// Four hexadecimal digits.
constexpr size_t kTextSize = 5;
}  // namespace pin

// Gives `pin` to the module. 0 with `accepted` set as the module answered,
// or a link error.
int32_t tryPin(buslink::ModuleLink& link, uint16_t pin, bool& accepted);

// The PIN as typed: hexadecimal digits from the start; an empty or
// unreadable text is 0 (no PIN).
uint16_t parsePinText(const std::string& text);

// One "Ok" of the PIN entry: the typed PIN given to the module. 0 when it
// was accepted (the record keeps it), 8049 when the entry ends (no PIN
// typed, or the module blocks further tries after 8047), else
// kPinTryAgain with the tries the module has left (after 8047). The link is
// closed unless the entry goes on.
constexpr int32_t kPinTryAgain = -1;
struct PinTry {
  int32_t status = 0;
  int triesLeft = 0;
};
PinTry enterPinOnce(IgnitionRecord& record, buslink::ModuleLink& link, shell::UserPrompts& prompts,
                    const std::string& typed);

// How the PIN is asked for (dialog 161 in the program): 0 when the module
// took a PIN, 8049 when none was given, else a link error.
class PinEntry {
 public:
  virtual ~PinEntry() = default;
  virtual int32_t enterPin(IgnitionRecord& record, buslink::ModuleLink& link,
                           shell::UserPrompts& prompts) = 0;
};

// 0 when the module has no PIN, has been given it already, or takes the one
// the record remembers or the user types; 8049 when the PIN was not given
// (entry blocked, asking cancelled, a wrong PIN); else a link error.
// Without `entry` the PIN is asked once with a plain text prompt.
int32_t pinCheck(IgnitionRecord& record, buslink::ModuleLink& link, shell::UserPrompts& prompts,
                 PinEntry* entry = nullptr);

}  // namespace ignition
