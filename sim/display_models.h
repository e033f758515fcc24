#pragma once

#include <cstdint>

#include "sim/module_model.h"
#include "sim/scenario.h"

namespace sim {

// The LED display modules at their bus addresses, set up as they leave the
// factory: a brightness, an empty or taught table, a recorded maximum, a few
// stored laps. Scenario keys change any of it afterwards.
constexpr uint8_t kGearDisplayAddress = 0xA0;
constexpr uint8_t kTankDisplayAddress = 0x90;
constexpr uint8_t kShiftDisplayAddress = 0xB0;
constexpr uint8_t kPotiDisplayAddress = 0xD0;
constexpr uint8_t kOilDisplayAddress = 0x80;
constexpr uint8_t kStopwatchAddress = 0x70;
constexpr uint8_t kRallyTimerAddress = 0xC0;

// True for the addresses of the display modules above.
bool isDisplayAddress(uint8_t address);
// The display's memory and live values; other addresses stay as they are.
void applyDisplayDefaults(ModuleModel& module);
// Every display module, and two bar displays in one housing (serial number
// 1234567, display numbers 1 and 2) that carry out frames but never reply.
void addDisplayModules(Scenario& scenario);

}  // namespace sim
