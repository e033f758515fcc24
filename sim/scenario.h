#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sim/faults.h"
#include "sim/trigger_wheel.h"

namespace sim {

// A module's resident bootloader and its flash. Faults count chunks (0xF7
// frames), replies and erases from 1; 0 switches a fault off.
struct BootloaderSetup {
  int baud = 9600;                  // the rate it announces itself and listens at
  bool startsInBootloader = false;  // no working firmware: the flash starts erased
  uint16_t version = 0x0200;        // answer to 0xF1; 512 means 4-byte addresses
  uint16_t deviceId = 0xAD07;       // answer to 0xF2
  uint32_t firmwareNumber = 0;      // answer to 0xF4 until 0xF5 stores another
  uint32_t flashSize = 65536;
  uint32_t eraseBlock = 64;  // bytes, a power of two
  uint32_t writeBlock = 16;  // bytes, a power of two, at least 16
  int eraseMs = 0;
  int writeMs = 0;
  int announceMs = 10;    // one 0x55 this often while it waits for the PC
  int bootWaitMs = 2000;  // unasked this long with intact firmware, it starts the firmware
  // Where the firmware keeps its version (major, minor, patch) in the flash.
  std::optional<uint32_t> versionAt;
  int dropLineAfterChunk = 0;
  int powerCycleAfterChunk = 0;
  std::vector<int> corruptReply;
  std::vector<int> refuseErase;  // 0 = every erase
};

// The engine behind the ignition's log mode and the faults of its stream.
// Sparks and packets count from 1 from the moment log mode begins.
struct LogModeSetup {
  // 0: the sparks follow the period word (4 us ticks between sparks).
  int fromRpm = 0;
  int toRpm = 0;                    // the speed reached after rampMs; equal to fromRpm when steady
  int rampMs = 0;                   // the ramp starts with log mode
  std::vector<int> misfires;        // sparks that do not come
  std::vector<int> corruptPackets;  // packets that fail their check
};

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
  LogModeSetup logMode;
  TriggerWheelSetup wheel;  // the trigger inputs its oscilloscope mode samples
  // Link command 15 restarts a module that has one into it.
  std::optional<BootloaderSetup> bootloader;
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
