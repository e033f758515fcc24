#pragma once

#include <cstdint>
#include <string>

#include "link/module_link.h"

// The rpm logger at 0xF0: a speed limit and how long and how often the
// engine ran above it.
namespace loggers {

constexpr uint8_t kRpmLoggerAddress = 0xF0;

struct RpmLoggerValues {
  int32_t limit = 0;     // 1/min
  int32_t maxSpeed = 0;  // highest speed seen, 0 = none
  int32_t totalMs = 0;   // time above the limit
  int32_t count5to49 = 0;
  int32_t count50to511 = 0;
  int32_t countOver511 = 0;
  int32_t cylinders = 4;  // 2-12
  int32_t strokes = 4;    // 2 or 4
};

constexpr uint16_t kNoPeriod = 0xFFFF;  // the shortest period before any was seen

// T x 3750000 / (p x Z), integer; 0 where that would divide by zero.
int32_t speedFromPeriod(int32_t strokes, int32_t cylinders, int32_t period);

bool cylindersValid(int32_t z);
bool strokesValid(int32_t t);

// 8052; the link error of the version read; 8051 when a read fails.
// `versionText` is set once the version is read.
int32_t readRpmLogger(buslink::ModuleLink& link, RpmLoggerValues& v, std::string& versionText);
// Cylinders, strokes and the limit period, then the statistics cleared.
// 8050; 8045 for values the module cannot hold (nothing is sent); the link
// error of the version read; 8048 when a write fails.
int32_t writeRpmLogger(buslink::ModuleLink& link, RpmLoggerValues& v, std::string& versionText);
// Clears the statistics: 0; the link error of the version read; 8048 when
// a write fails.
int32_t clearRpmLogger(buslink::ModuleLink& link, RpmLoggerValues& v, std::string& versionText);

}  // namespace loggers
