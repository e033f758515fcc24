#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "shell/user_prompts.h"

namespace displays {

// A target lap time: lap number and time in tenths of a second.
struct RallyLapTime {
  int32_t number = 0;
  int32_t tenths = 0;
};

constexpr int kRallySlots = 9;
constexpr int kRallyRecords = 24;
constexpr size_t kRallyListLimit = 10;

struct RallyTimerSettings {
  int32_t dayBrightness = 80;
  int32_t nightBrightness = 20;
  int32_t signalBeforeZero = 5;
  std::vector<RallyLapTime> targets;  // sorted by number
  std::vector<std::string> recorded;  // "Rundendauer", read only
  uint16_t version = 0;
};

// BCD as the module keeps it: a byte that is no two-digit number reads as 0,
// a number above 99 is stored as 0.
int32_t fromRallyBcd(uint8_t byte);
uint8_t toRallyBcd(int32_t number);

std::string rallyTargetText(const RallyLapTime& t);          // "%02i %03i.%01i"
std::string rallyRecordText(int32_t first, int32_t second);  // "%03i.%01i %03i.%01i"

// The list takes an entry at its number's place; false when it already
// holds more than nine.
bool addRallyTarget(std::vector<RallyLapTime>& targets, const RallyLapTime& t);
// "Rundenzeit bearbeiten": the entry at `index` gets a new time; when the
// list refuses it the old one is put back (false).
bool editRallyTarget(std::vector<RallyLapTime>& targets, size_t index, int32_t tenths);

int32_t checkRallyTimer(const RallyTimerSettings& s);
// The link stays open after read and write: the next operation reuses it.
int32_t readRallyTimer(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                       RallyTimerSettings& s);
int32_t writeRallyTimer(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        const RallyTimerSettings& s);
int32_t testRallyTimer(buslink::ModuleLink& link, shell::UserPrompts& prompts);

}  // namespace displays
