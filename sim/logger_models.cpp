#include "sim/logger_models.h"

#include <algorithm>
#include <array>

namespace sim {

namespace {

// A car at about 50 km/h and 3000 1/min with 4 cylinders: wheel pulse 100 ms
// into its interval, five ignition pulses over 5000 x 8 us, both axes at
// 1 g raw, throttle half open, lambda near 1, two sensors and 13,5 V.
constexpr std::array<uint8_t, 16> kLiveRecord = {100, 0x21, 5, 0x13, 0x88, 50, 50, 128,
                                                 56,  56,   0, 150,  120,  0,  0,  230};

void carAndSerialLogger(ModuleModel& m) {
  m.firmwareVersion = 0x0102;
  m.memory[1] = 0;  // divisor 51: 19200 baud
  m.memory[2] = 51;
  m.memory[3] = 0;  // standard mode
  m.memory[6] = 0;  // recording options
  m.memory[16] = 59;
  m.memory[17] = 255;
  m.memory[18] = 4;
  m.memory[19] = 0;
  m.liveValues[255] = 0x0100;  // a new record is there
  for (size_t i = 0; i < kLiveRecord.size(); i += 2) {
    m.liveValues[i] = static_cast<uint16_t>(kLiveRecord[i] << 8 | kLiveRecord[i + 1]);
  }
}

void lambdaDisplay(ModuleModel& m) {
  m.memory[1] = 20;  // night
  m.memory[2] = 80;  // day
}

void rpmLogger(ModuleModel& m) {
  m.memory[16] = 4;     // cylinders
  m.memory[17] = 4;     // strokes
  m.memory[32] = 0x02;  // limit period 625: 6000 1/min
  m.memory[33] = 0x71;
  m.memory[40] = 0x02;  // shortest period 600: 6250 1/min
  m.memory[41] = 0x58;
  // 12 times 5-49 ignitions above the limit, 3 times 50-511, once more.
  const uint8_t counts[] = {0, 12, 0, 3, 0, 1};
  std::copy(std::begin(counts), std::end(counts), m.memory.begin() + 48);
  m.memory[64] = 0;  // 0x0001F4 x 2 ms = 1000 ms above the limit
  m.memory[65] = 0x01;
  m.memory[66] = 0xF4;
}

}  // namespace

void applyLoggerDefaults(ModuleModel& m) {
  switch (m.address()) {
    case kCarLoggerAddress:
      carAndSerialLogger(m);
      break;
    case kLambdaDisplayAddress:
      lambdaDisplay(m);
      break;
    case kRpmLoggerAddress:
      rpmLogger(m);
      break;
    default:
      break;
  }
}

void addLoggerModules(Scenario& s) {
  for (uint8_t a : {kCarLoggerAddress, kLambdaDisplayAddress, kRpmLoggerAddress}) {
    const bool present = std::any_of(s.modules.begin(), s.modules.end(),
                                     [a](const ModuleSetup& m) { return m.address == a; });
    if (!present) s.modules.push_back(ModuleSetup(a));
  }
}

}  // namespace sim
