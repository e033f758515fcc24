#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sim/faults.h"

namespace sim {

// One module on the simulated bus. Unset values keep the model's defaults.
struct ModuleSetup {
  explicit ModuleSetup(uint8_t busAddress = 0) : address(busAddress) {}

  uint8_t address = 0;
  std::optional<uint16_t> typeWord;
  std::optional<uint16_t> firmwareVersion;
  std::optional<uint16_t> requiredSoftwareVersion;
  uint16_t period = 0;
  // Decimal serial number, 7 digits (an 8th leading digit names a sub-unit);
  // stored as BCD at 0xFC-0xFF.
  std::optional<uint32_t> serial;
  bool asleep = false;
  bool answers = true;
  std::map<uint8_t, uint8_t> memory;  // bytes over the default memory
  std::map<uint8_t, uint16_t> liveValues;
  std::map<uint8_t, uint8_t> statusBytes;  // index 0-5
  std::vector<uint8_t> readOnly;
  // Ignition only.
  uint16_t pin = 0;
  bool pinGiven = false;            // the PIN was given before the PC came (status bit 2)
  std::map<uint8_t, uint8_t> info;  // vehicle information area, address 0-254
};

// What sits behind the bus adapter.
struct Scenario {
  bool hasIgnition = true;
  ModuleSetup ignition{0xE0};
  std::vector<ModuleSetup> modules;        // display and logger modules, one per address
  std::vector<ModuleSetup> serialModules;  // at 0x20, chosen by serial number
  int moduleBaud = 9600;                   // the rate the modules listen at
  int pcSearchIntervalMs = 0;              // > 0: a module looks for the PC this often
  Faults faults;
};

// The four vehicle information texts, each ended by a 0 byte, from address 0.
std::map<uint8_t, uint8_t> infoFromTexts(const std::vector<std::string>& texts);

// Empty when the scenario can be built, else what is wrong with it.
std::string validateScenario(const Scenario& scenario);

// Addresses a display or logger module may have (0x20 answers unselected).
bool isModuleAddress(int address);

}  // namespace sim
