#include "viewers/trigger/recording.h"

#include <algorithm>

namespace trigger {

void Recording::clear() {
  std::fill(channelA.begin(), channelA.end(), 0);
  std::fill(channelB.begin(), channelB.end(), 0);
  DataCount = 0;
  DataWrIdx = 0;
}

void Recording::appendBits(uint8_t a, uint8_t b) {
  for (int bit = 7; bit >= 0; --bit) {
    channelA[static_cast<size_t>(DataWrIdx)] = (a >> bit) & 1;
    channelB[static_cast<size_t>(DataWrIdx)] = (b >> bit) & 1;
    DataWrIdx = nextSlot(DataWrIdx);
    if (DataCount < kRingSize) ++DataCount;
  }
}

}  // namespace trigger
