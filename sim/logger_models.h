#pragma once

#include <cstdint>

#include "sim/module_model.h"
#include "sim/scenario.h"

namespace sim {

constexpr uint8_t kCarLoggerAddress = 0x50;  // also the serial logger
constexpr uint8_t kLambdaDisplayAddress = 0x60;
constexpr uint8_t kRpmLoggerAddress = 0xF0;

// A logger module as delivered: the car/serial logger at 0x50 (receive
// settings, clock, a live record of a car driving), the lambda display at
// 0x60 (brightness) and the rpm logger at 0xF0 (limit and statistics).
// Other addresses are left alone.
void applyLoggerDefaults(ModuleModel& m);

// One of each logger on the bus.
void addLoggerModules(Scenario& s);

}  // namespace sim
