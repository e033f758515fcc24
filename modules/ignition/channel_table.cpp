#include "modules/ignition/channel_table.h"

namespace ignition {

ChannelGrid channelGrid(const IgnitionRecord& record) {
  ChannelGrid grid;
  for (int c = 0; c < kChannels; ++c) {
    for (int p = 0; p < kFiringPositions; ++p) {
      const bool enabled = p < record.Zylinder && c < record.capability.channels;
      grid.enabled[c][p] = enabled;
      grid.checked[c][p] = enabled && ((record.KanalTabelle[p] >> c) & 1) != 0;
    }
  }
  return grid;
}

void takeChannelGrid(IgnitionRecord& record, const ChannelGrid& grid) {
  for (int p = 0; p < kFiringPositions; ++p) {
    uint8_t byte = 0;
    for (int c = 0; c < kChannels; ++c) {
      if (grid.enabled[c][p] && grid.checked[c][p]) byte |= static_cast<uint8_t>(1u << c);
    }
    record.KanalTabelle[p] = byte;
  }
}

}  // namespace ignition
