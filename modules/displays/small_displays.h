#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "shell/user_prompts.h"

// The display pages with only "Lesen" and "Schreiben" and no settings file:
// the oil display and the stopwatch.
namespace displays {

struct OilDisplaySettings {
  int32_t dayBrightness = 80;
  int32_t nightBrightness = 20;
  uint16_t version = 0;
};

int32_t readOilDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                       OilDisplaySettings& s);
int32_t writeOilDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        const OilDisplaySettings& s);

constexpr uint8_t kStartOnRelease = 1;  // "Start durch Loslassen"
constexpr uint8_t kLapMode = 2;         // "Runden-Modus"

struct StopwatchSettings {
  int32_t dayBrightness = 80;
  int32_t nightBrightness = 20;
  uint8_t behaviour = 0;                 // bits 0 and 1 on the page, the others kept as read
  std::optional<int32_t> circumference;  // "Radumfang", mm
  std::vector<std::string> lastTimes;    // newest first, read only
  uint16_t version = 0;
};

// The circumference as the module stores it and back, integer divisions.
int32_t circumferenceToModule(int32_t millimetres);
int32_t circumferenceFromModule(int32_t value);
// The last five times from the lap memory (addresses 16-252 as `memory[0]`
// = address 16), newest first.
std::vector<std::string> stopwatchLastTimes(const uint8_t* lapMemory);

int32_t readStopwatch(buslink::ModuleLink& link, shell::UserPrompts& prompts, StopwatchSettings& s);
int32_t writeStopwatch(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                       const StopwatchSettings& s);

}  // namespace displays
