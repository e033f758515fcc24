#include "viewers/spark/log_packet.h"

namespace spark {

bool packetCheckOk(const uint8_t* packet) {
  uint8_t x = 0;
  for (int i = 0; i < kPacketSize; ++i) x ^= packet[i];
  return x == kPacketCheck;
}

Stamps packetStamps(const uint8_t* packet) {
  Stamps stamps{};
  for (int i = 0; i < kStampsPerPacket; ++i) {
    stamps[i] = static_cast<uint16_t>(packet[2 + 2 * i] << 8 | packet[3 + 2 * i]);
  }
  return stamps;
}

uint32_t stampDelta(uint16_t previous, uint16_t current) {
  if (current > previous) return static_cast<uint32_t>(current - previous);
  return static_cast<uint32_t>(current) + 65535u - previous;
}

double speedFromDelta(uint32_t delta, double cylinderCount, double strokes) {
  return 1.0 / (delta * kStampTick) * 60.0 / (cylinderCount / (2.0 / strokes * 4.0));
}

}  // namespace spark
