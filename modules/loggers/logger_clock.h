#pragma once

#include <cstdint>
#include <string>

#include "link/module_link.h"
#include "platform/clock.h"

// The car logger's clock and recording options.
namespace loggers {

constexpr uint8_t kCarLoggerAddress = 0x50;
constexpr uint8_t kOptionsAddress = 6;

struct RecordingOptions {
  bool ignition = false;  // "Zündung loggen": record the ignition's stream
  bool zor = false;       // "Zor loggen"
  bool baud9600 = false;  // "9600 Baud"
  uint8_t byte() const {
    return static_cast<uint8_t>((ignition ? 1 : 0) | (zor ? 2 : 0) | (baud9600 ? 4 : 0));
  }
};

// Clock registers 8, 7, 5, 4, 3, 2 (year, month, day, hour, minute,
// second) from `t`, in this order; the first link error ends it.
int32_t writeClockRegisters(buslink::ModuleLink& link, const platform::LocalTime& t);

// "Uhr stellen": selects the logger, reads its version (into
// `versionText`), sets the clock from `t` and writes the options. 8054
// when all is written; the link error of the selection or version read;
// 0 when a clock register fails (that ends the operation without a
// message); the link error of the options byte, which must not be reported
// as a clock that was set.
int32_t setCarLoggerClock(buslink::ModuleLink& link, const platform::LocalTime& t,
                          RecordingOptions options, std::string& versionText);

}  // namespace loggers
