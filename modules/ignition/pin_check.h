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

// 0 when the module has no PIN, has been given it already, or takes the one
// the record remembers or the user types; 8049 when the PIN was not given
// (entry blocked, asking cancelled, a wrong PIN); else a link error.
int32_t pinCheck(IgnitionRecord& record, buslink::ModuleLink& link, shell::UserPrompts& prompts);

}  // namespace ignition
