#pragma once

#include <cstdint>
#include <vector>

#include "sim/bus.h"
#include "sim/frame.h"

namespace sim::test {

// Feeds raw bytes to the bus as the PC would send them and collects what
// comes back (echo and replies).
inline std::vector<uint8_t> sendBytes(Bus& bus, const std::vector<uint8_t>& bytes,
                                      int baud = 9600) {
  for (uint8_t b : bytes) bus.receive(b, baud, 0);
  std::vector<uint8_t> out;
  while (bus.hasOutput()) out.push_back(bus.takeOutput());
  return out;
}

inline std::vector<uint8_t> sendFrame(Bus& bus, uint8_t b0, uint8_t b1, uint8_t b2) {
  const Frame f = makeFrame(b0, b1, b2);
  return sendBytes(bus, {f.begin(), f.end()});
}

// What the modules answered to the frame, without the adapter's echo.
inline std::vector<uint8_t> reply(Bus& bus, uint8_t b0, uint8_t b1, uint8_t b2) {
  std::vector<uint8_t> out = sendFrame(bus, b0, b1, b2);
  if (out.size() < 4) return {};
  return {out.begin() + 4, out.end()};
}

inline std::vector<uint8_t> frameBytes(uint8_t b0, uint8_t b1, uint8_t b2) {
  const Frame f = makeFrame(b0, b1, b2);
  return {f.begin(), f.end()};
}

}  // namespace sim::test
