#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "link/module_link.h"
#include "shell/user_prompts.h"

namespace displays {

// Statuses of the display pages' read and write: 0 success; 1 a message has
// been shown already; 2 or more the step that failed. A failing restart at
// the end of a write is step 13.
constexpr int32_t kStatusReported = 1;
constexpr int32_t kStatusRestart = 13;

enum class Operation { Read, Write };

// Select and identify as read and write do: a failed identify is shown
// (the link stays open until the next operation) and gives 1. The selection's
// own result is not looked at: a port that does not open fails the identify.
int32_t openDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts, uint8_t busAddress,
                    uint16_t& version);
// As the tests, teach-ins and live windows do it: a failure closes the link
// before it is shown.
int32_t openDisplayClosing(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                           uint8_t busAddress, uint16_t& version);

// The text the page shows for a status: "Lesen Ok"/"Schreiben Ok" for 0,
// nothing for 1, "Lese-Fehler"/"Schreibfehler" for any other.
int32_t outcomeText(Operation operation, int32_t status);
// Shows the outcome; a failure closes the link first.
void reportOutcome(buslink::ModuleLink& link, shell::UserPrompts& prompts, Operation operation,
                   int32_t status);

// Ends a write: restart (13 when it fails) and close.
int32_t restartAndClose(buslink::ModuleLink& link);

// The display test: after select and identify, code 14 on each channel;
// with `messagePerChannel` the user confirms after each, else once after
// all. Then restart and close. 0, or 1 when select or identify failed (shown).
int32_t runDisplayTest(buslink::ModuleLink& link, shell::UserPrompts& prompts, uint8_t busAddress,
                       std::span<const uint8_t> channels, bool messagePerChannel);

// One memory cell of a page's byte fields, with the step that reports it.
template <class Settings>
struct ByteCell {
  uint8_t address;
  int32_t Settings::*field;
  int32_t readStep;
  int32_t writeStep;
};

// Reads the cells in table order; the first failure ends with its step.
template <class Settings>
int32_t readCells(buslink::ModuleLink& link, Settings& s,
                  std::span<const ByteCell<Settings>> cells) {
  for (const ByteCell<Settings>& c : cells) {
    uint8_t v = 0;
    if (link.readByte(c.address, v) != 0) return c.readStep;
    s.*c.field = v;
  }
  return 0;
}

template <class Settings>
int32_t writeCells(buslink::ModuleLink& link, const Settings& s,
                   std::span<const ByteCell<Settings>> cells) {
  for (const ByteCell<Settings>& c : cells) {
    if (link.writeByte(c.address, static_cast<uint32_t>(s.*c.field)) != 0) return c.writeStep;
  }
  return 0;
}

// 0 when every value fits its range, else 8045: a value left out of range in
// a field is refused before anything is sent instead of being cut to a byte.
int32_t checkRange(int32_t value, int32_t low, int32_t high);

// A 16-bit word with its high byte at `address`.
int32_t readWordAt(buslink::ModuleLink& link, uint8_t address, int32_t& value);

}  // namespace displays
