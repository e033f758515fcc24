#pragma once

#include <array>
#include <cstdint>

namespace spark {

// The ignition module's log-mode packet: 0xF2, one byte we ignore, four
// big-endian time stamps of successive ignition events in 4 us ticks of a
// 16-bit counter, twelve more bytes that only count in the check.
inline constexpr int kPacketSize = 22;
inline constexpr uint8_t kPacketStart = 0xF2;
inline constexpr uint8_t kPacketCheck = 0x3A;
inline constexpr int kStampsPerPacket = 4;
inline constexpr double kStampTick = 0.000004;  // seconds

using Stamps = std::array<uint16_t, kStampsPerPacket>;

// True when the XOR of all 22 bytes is 0x3A.
bool packetCheckOk(const uint8_t* packet);

Stamps packetStamps(const uint8_t* packet);

// Ticks from one stamp to the next. The counter wraps, and the module's own
// tools count a wrap as 65 535 ticks, not 65 536; the chart has always shown
// speeds on that basis, so we keep it. Equal stamps give a whole wrap.
uint32_t stampDelta(uint16_t previous, uint16_t current);

// Engine speed in rpm from the ticks between two ignition events: with
// `strokes` 4 a cylinder fires once every two revolutions. `delta` 0 has no
// speed; callers skip it.
double speedFromDelta(uint32_t delta, double cylinderCount, double strokes);

}  // namespace spark
