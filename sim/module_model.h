#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "sim/frame.h"

namespace sim {

// Command nibbles of the addressed frames.
enum Command : uint8_t {
  kCmdTypeId = 0,
  kCmdVersion = 1,
  kCmdReadByte = 2,
  kCmdWriteByte = 3,
  kCmdStatusByte = 4,
  kCmdTestOutput = 5,
  kCmdLiveValue = 6,
  kCmdPeriod = 7,
  kCmdDisplayControl = 8,
  kCmdLearnPoint = 9,
  kCmdClockRegister = 10,
  kCmdSelectPage = 11,
  kCmdOutputValue = 12,
  kCmdSpecialFunction = 14,
  kCmdRestart = 15,
};

constexpr uint8_t kSerialAddress = 0xFC;  // four BCD bytes, most significant first

// 7 (or 8, with a leading sub-unit digit) decimal digits as BCD nibbles.
uint32_t decimalToBcd(uint32_t number);

// A bus module as the PC sees it: a 256-byte memory and the answers to the
// addressed commands. Derived models add what is special to their kind.
// The data members are the module's state; tests set and inspect them.
class ModuleModel {
 public:
  explicit ModuleModel(uint8_t address);
  virtual ~ModuleModel() = default;
  ModuleModel(const ModuleModel&) = delete;
  ModuleModel& operator=(const ModuleModel&) = delete;

  uint8_t address() const { return address_; }

  // Handles one frame whose address nibble names this module. Returns the
  // reply, or nothing when the module stays silent.
  std::optional<Frame> handle(const Frame& request);

  uint32_t serialBcd() const;
  void setSerialBcd(uint32_t bcd);

  // A module that never went to sleep ignores the pulse.
  void wake() { asleep = false; }

  std::array<uint8_t, 256> memory{};
  std::bitset<256> readOnly;  // cells that keep their value when written (a worn EEPROM cell)
  uint16_t typeWord = 0;
  uint16_t firmwareVersion = 0;
  uint16_t requiredSoftwareVersion = 0;
  std::array<uint16_t, 256> liveValues{};
  std::array<uint8_t, 6> statusBytes{};
  uint16_t period = 0;  // 0 = engine stopped
  bool answers = true;  // false: carries out frames but never replies
  bool asleep = false;  // true: deaf until a wake pulse

  // What the PC made the module do.
  std::map<uint8_t, uint8_t> testOutputs;     // index -> state
  std::map<uint8_t, uint8_t> displayCodes;    // channel -> code
  std::map<uint8_t, uint8_t> clockRegisters;  // register -> BCD value
  std::map<uint8_t, uint8_t> outputValues;    // channel -> value
  std::vector<uint8_t> learnPoints;
  std::vector<std::pair<uint8_t, uint8_t>> specialFunctions;  // (code, value) as received
  int page = 0;
  int restarts = 0;

 protected:
  virtual Frame readByte(const Frame& request);
  virtual Frame writeByte(const Frame& request);
  // Module specific; a plain module acknowledges every code by echoing it.
  virtual Frame specialFunction(const Frame& request);
  virtual void onRestart() {}

  Frame reply(const Frame& request, uint8_t b1, uint8_t b2) const {
    return replyFrame(address_, request, b1, b2);
  }
  Frame error(uint8_t errorClass) const { return errorFrame(address_, errorClass); }
  Frame word(const Frame& request, uint16_t value) const {
    return reply(request, static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value));
  }

 private:
  Frame dispatch(const Frame& request);

  uint8_t address_;
};

}  // namespace sim
