#pragma once

#include <string>

#include "sim/bus.h"

namespace sim {

// A line typed into a running tunvexa-sim that changes what a module
// measures, so that a teach-in or live window shows it at once:
//   live ADDR INDEX W    live value INDEX of the module at ADDR
//   period ADDR W        its period word (the shift display's engine speed)
// ADDR is a bus address (0x20 means the module selected by serial number).
// The caller holds the bus's mutex. Empty on success, else what is wrong.
std::string applyLiveInput(Bus& bus, const std::string& line);

}  // namespace sim
