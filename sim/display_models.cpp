#include "sim/display_models.h"

#include <algorithm>
#include <array>

namespace sim {

namespace {

constexpr std::array<uint8_t, 7> kAddresses{
    kGearDisplayAddress, kTankDisplayAddress, kShiftDisplayAddress, kPotiDisplayAddress,
    kOilDisplayAddress,  kStopwatchAddress,   kRallyTimerAddress};

void brightness(ModuleModel& m) {
  m.memory[1] = 20;  // night
  m.memory[2] = 80;  // day
}

// Codes at 32-44 and values at 16-28, sorted by value from high to low.
void gear(ModuleModel& m) {
  const std::array<std::pair<uint8_t, uint8_t>, 13> table{{{0, 240},
                                                           {1, 210},
                                                           {2, 180},
                                                           {3, 150},
                                                           {4, 120},
                                                           {5, 90},
                                                           {11, 30},
                                                           {15, 0},
                                                           {15, 0},
                                                           {15, 0},
                                                           {15, 0},
                                                           {15, 0},
                                                           {15, 0}}};
  for (size_t i = 0; i < table.size(); ++i) {
    m.memory[32 + i] = table[i].first;
    m.memory[16 + i] = table[i].second;
  }
  m.memory[8] = 1;        // external reference
  m.liveValues[0] = 150;  // the gear sensor
}

// Points {litres, raw high, raw low} by raw value, smallest first; 255 ends.
void tank(ModuleModel& m) {
  const uint8_t sensor1[] = {40, 0x00, 0x64, 20, 0x01, 0x2C, 0, 0x03, 0x20, 255};
  const uint8_t sensor2[] = {255};
  std::copy(std::begin(sensor1), std::end(sensor1), m.memory.begin() + 64);
  std::copy(std::begin(sensor2), std::end(sensor2), m.memory.begin() + 128);
  m.memory[192] = 255;
  m.memory[4] = 5;    // lower limit
  m.memory[5] = 10;   // upper limit
  m.memory[6] = 30;   // refresh time
  m.memory[7] = 1;    // low aus
  m.memory[48] = 12;  // recorded minimum
  m.memory[49] = 38;  // recorded maximum
  m.liveValues[0] = 500;
  m.liveValues[1] = 700;
}

void word(ModuleModel& m, int address, uint16_t value) {
  m.memory[address] = static_cast<uint8_t>(value >> 8);
  m.memory[address + 1] = static_cast<uint8_t>(value);
}

// Factor code 2: 6000 rpm is 1250.
void shift(ModuleModel& m) {
  m.memory[15] = 2;
  // Period values of whole tens of rpm, so that a read and a write give
  // them back: green 3000, 3500, ... 6000 rpm, red 200 rpm higher.
  const uint16_t green[] = {2500, 2142, 1874, 1666, 1500, 1362, 1250};
  const uint16_t red[] = {2342, 2026, 1784, 1594, 1442, 1314, 1208};
  for (int i = 0; i < 7; ++i) {
    word(m, 192 + 2 * i, green[i]);
    word(m, 208 + 2 * i, red[i]);
  }
  word(m, 224, 1071);  // recorded maximum, 7000 rpm
  word(m, 226, 1000);  // limiter
  m.setSerialBcd(0x07654321);
  m.period = 1875;  // 4000 rpm
}

void poti(ModuleModel& m) {
  m.memory[8] = 0;
  m.memory[10] = 60;
  for (int i = 0; i < 7; ++i) {
    m.memory[192 + 2 * i] = static_cast<uint8_t>(30 * (i + 1));
    m.memory[193 + 2 * i] = 1;
    m.memory[208 + 2 * i] = static_cast<uint8_t>(30 * (i + 1) + 10);
    m.memory[209 + 2 * i] = 2;
  }
  m.liveValues[0] = 128;
}

// Three stored laps, the next free place at 25.
void stopwatch(ModuleModel& m) {
  m.memory[6] = 0;
  word(m, 8, 7200);  // 2000 mm
  const uint8_t laps[] = {1, 5, 7, 0, 45, 30, 1, 2, 3};
  std::copy(std::begin(laps), std::end(laps), m.memory.begin() + 16);
}

void rally(ModuleModel& m) {
  m.memory[3] = 5;
  m.memory[224] = 0x12;  // lap 1: 123.4 s
  m.memory[225] = 0x34;
  m.memory[228] = 0x01;  // lap 3: 12.0 s, lap 2 empty
  m.memory[229] = 0x20;
  const uint8_t record[] = {0x01, 0x23, 0x04, 0xE2};  // 12.3 s, 125.0 s
  std::copy(std::begin(record), std::end(record), m.memory.begin() + 128);
}

}  // namespace

bool isDisplayAddress(uint8_t address) {
  return std::find(kAddresses.begin(), kAddresses.end(), address) != kAddresses.end();
}

void applyDisplayDefaults(ModuleModel& m) {
  if (!isDisplayAddress(m.address())) return;
  m.firmwareVersion = 0x0102;
  brightness(m);
  switch (m.address()) {
    case kGearDisplayAddress:
      gear(m);
      break;
    case kTankDisplayAddress:
      tank(m);
      break;
    case kShiftDisplayAddress:
      shift(m);
      break;
    case kPotiDisplayAddress:
      poti(m);
      break;
    case kStopwatchAddress:
      stopwatch(m);
      break;
    case kRallyTimerAddress:
      rally(m);
      break;
    default:
      break;
  }
}

void addDisplayModules(Scenario& scenario) {
  for (uint8_t address : kAddresses) {
    const bool present =
        std::any_of(scenario.modules.begin(), scenario.modules.end(),
                    [address](const ModuleSetup& m) { return m.address == address; });
    if (!present) scenario.modules.emplace_back(address);
  }
  for (uint32_t serial : {1234567u, 11234567u}) {
    ModuleSetup bar(0x20);
    bar.serial = serial;
    bar.answers = false;
    scenario.serialModules.push_back(bar);
  }
}

}  // namespace sim
