#pragma once

#include <cstdint>

namespace ignition {

// rpm is stored in module memory as rpm / 50.
inline int32_t byteToRpm(uint8_t value) {
  return value * 50;
}
// (rpm + 25) / 50 truncating toward zero; callers keep the low 8 bits.
inline int32_t rpmToByte(int32_t rpm) {
  return (rpm + 25) / 50;
}
inline int32_t roundRpm50(int32_t rpm) {
  return rpmToByte(rpm) * 50;
}

// Pressure bytes are 10 mBar steps; relative pressures start at -1000 mBar.
inline int32_t byteToPressure(bool relative, uint8_t value) {
  return relative ? value * 10 - 1000 : value * 10;
}
inline uint8_t pressureToByte(bool relative, int32_t mBar) {
  return static_cast<uint8_t>((relative ? (mBar + 1005) / 10 : (mBar + 5) / 10) & 0xFF);
}

// Degrees to a two's-complement byte, clamped to -128..127.
inline uint8_t angleToByte(int32_t degrees) {
  if (degrees > 127) return 127;
  if (degrees < -128) return 0x80;
  return static_cast<uint8_t>(degrees < 0 ? degrees + 256 : degrees);
}
inline int32_t signedByte(uint8_t value) {
  return value < 128 ? value : value - 256;
}

// Whole degrees Celsius of a raw KTY reading (2000 ohm at 25 C in a divider
// with 3320 ohm). Below raw 28 the sensor curve has no real solution (a
// shorted or missing sensor); those readings give the curve's lowest point,
// -178, rather than a meaningless number.
int32_t ktyTemperature(uint8_t raw);
// The lowest raw reading the sensor curve covers. Every write restarts the
// module's relative maximum at raw 0, so a page shows no number below it.
constexpr uint8_t kKtyLowestRaw = 28;
constexpr bool ktyInRange(uint8_t raw) {
  return raw >= kKtyLowestRaw;
}

}  // namespace ignition
