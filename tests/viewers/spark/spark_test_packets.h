#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace spark_test {

// A log-mode packet laid out by hand: 0xF2, a spare byte, four big-endian
// stamps, twelve filler bytes, the last chosen so that all 22 XOR to 0x3A.
inline std::vector<uint8_t> packet(std::array<uint16_t, 4> stamps, bool corrupt = false) {
  std::vector<uint8_t> p(22, 0x11);
  p[0] = 0xF2;
  p[1] = 0x00;
  for (int i = 0; i < 4; ++i) {
    p[2 + 2 * i] = static_cast<uint8_t>(stamps[i] >> 8);
    p[3 + 2 * i] = static_cast<uint8_t>(stamps[i] & 0xFF);
  }
  uint8_t x = 0;
  for (int i = 0; i < 21; ++i) x ^= p[i];
  p[21] = static_cast<uint8_t>(x ^ 0x3A);
  if (corrupt) p[12] ^= 0x40;  // a filler byte: the stamps stay readable
  return p;
}

inline void append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes) {
  to.insert(to.end(), bytes.begin(), bytes.end());
}

}  // namespace spark_test
