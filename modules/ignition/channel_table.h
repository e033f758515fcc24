#pragma once

#include <array>

#include "modules/ignition/ignition_record.h"

namespace ignition {

constexpr int kChannels = 8;
constexpr int kFiringPositions = 8;

// Dialog 162's grid: [channel - 1][firing-order position - 1].
struct ChannelGrid {
  std::array<std::array<bool, kFiringPositions>, kChannels> checked{};
  std::array<std::array<bool, kFiringPositions>, kChannels> enabled{};
};

// The boxes from `KanalTabelle`; positions above the stored cylinder count
// and channels the type does not have are unchecked and disabled.
ChannelGrid channelGrid(const IgnitionRecord& record);
// "OK": each position's byte from its column, disabled boxes unchecked.
void takeChannelGrid(IgnitionRecord& record, const ChannelGrid& grid);

}  // namespace ignition
