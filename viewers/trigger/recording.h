#pragma once

#include <cstdint>
#include <vector>

namespace trigger {

inline constexpr int32_t kRingSize = 60000;
inline constexpr int32_t kLastSlot = kRingSize - 1;

// The last minute of both trigger inputs: one byte (0 or 1) per sample and
// channel in a ring. While it is not full the oldest sample is in slot 0,
// afterwards in slot `DataWrIdx`.
struct Recording {
  std::vector<uint8_t> channelA = std::vector<uint8_t>(kRingSize, 0);
  std::vector<uint8_t> channelB = std::vector<uint8_t>(kRingSize, 0);
  // 1 inside a gap period of the last analysis.
  std::vector<uint8_t> marks = std::vector<uint8_t>(kRingSize, 0);
  int32_t DataWrIdx = 0;
  int32_t DataCount = 0;

  // Both channels 0, nothing held; the marks stay until the next analysis.
  void clear();
  // Eight samples of each channel, the most significant bit the oldest.
  void appendBits(uint8_t a, uint8_t b);
  int32_t oldestSlot() const { return DataCount < kRingSize ? 0 : DataWrIdx; }
};

// The slot after `slot`, across the ring's end.
inline int32_t nextSlot(int32_t slot) {
  return slot >= kLastSlot ? 0 : slot + 1;
}

}  // namespace trigger
