#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "link/module_link.h"
#include "modules/loggers/car_values.h"
#include "modules/loggers/vehicle_data.h"

// The car logger's live display: one 16-byte live record per timer tick.
namespace loggers {

// Bytes 0-10 as a log record, 11-14 sensors 1-4, 15 the supply voltage.
using LiveRecord = std::array<uint8_t, 16>;

// Live value 255 tells whether a new record is there (high byte not 0);
// then live values 0, 2, ... 14 give its bytes, high byte first. 0 with
// `fresh` false when there is none; else 0 or the first link error.
int32_t readLiveRecord(buslink::ModuleLink& link, LiveRecord& record, bool& fresh);

// What the live window shows, with a decimal comma.
struct LiveTexts {
  std::string speed, rpm, accelerationX, accelerationY, poti, lambdaA, lambdaB;
  std::array<std::string, 4> sensors;
  std::string voltage;
  bool marker = false;
};

// The speed needs the records before it; `speed` carries them.
LiveTexts liveTexts(const LiveRecord& record, const VehicleData& vehicle, SpeedTracker& speed);

}  // namespace loggers
