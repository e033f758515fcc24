#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "sim/frame.h"
#include "sim/module_model.h"

namespace sim {

constexpr uint8_t kSerialBusAddress = 0x20;

// Byte 0 of the frames that carry no bus address.
enum AddresslessFrame : uint8_t {
  kTuningFrame = 0x01,
  kSearchBit = 0x14,
  kMarkFound = 0x15,
  kSelectSerialHigh = 0x16,
  kSelectSerialLow = 0x17,
  kPcSearch = 0x18,
  kResetSearch = 0x1F,
};

// The byte a module sends when its serial bit matches; several modules
// answering together still arrive as one byte.
constexpr uint8_t kSearchAnswer = 0x55;

// The modules at bus address 0x20 that are told apart by serial number:
// the bit-by-bit search and the selection that routes later frames to one
// of them.
class SerialSearch {
 public:
  void add(std::unique_ptr<ModuleModel> module);
  size_t size() const { return entries_.size(); }
  ModuleModel& module(size_t i) { return *entries_[i].module; }
  bool isFound(size_t i) const { return entries_[i].found; }

  // The module that frames to 0x20 reach, or none.
  ModuleModel* selected() const;

  // Handles one of the search and selection frames; returns what the
  // modules send back (nothing, one search byte or a frame).
  std::vector<uint8_t> handle(const Frame& frame);

 private:
  struct Entry {
    std::unique_ptr<ModuleModel> module;
    bool found = false;
    bool inRound = true;  // still matches every bit asked so far
  };

  static bool canAnswer(const ModuleModel& m) { return !m.asleep && m.answers; }
  std::vector<uint8_t> searchBit(uint8_t bit, uint8_t value);
  void markFound(uint8_t index, uint8_t byte);
  std::vector<uint8_t> selectLow(uint8_t b1, uint8_t b2);
  void newRound();

  std::vector<Entry> entries_;
  int selected_ = -1;
  uint16_t selectHigh_ = 0;
  std::array<uint8_t, 4> foundSerial_{};
};

}  // namespace sim
