#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

// Hand-built 512-byte log blocks for the conversion tests.
namespace loggers::test {

using Block = std::array<uint8_t, 512>;

inline uint8_t bcd(int v) {
  return static_cast<uint8_t>((v / 10) << 4 | (v % 10));
}

// A block with its BCD date and time; the rest as `fill`.
inline Block block(int year, int month, int day, int hour, int minute, int second,
                   uint8_t fill = 0) {
  Block b;
  b.fill(fill);
  const int header[] = {year - 2000, month, day, hour, minute, second};
  for (int i = 0; i < 6; ++i) b[i] = bcd(header[i]);
  b[6] = b[7] = b[8] = b[9] = b[10] = b[11] = 0;
  return b;
}

inline Block erasedBlock() {
  Block b;
  b.fill(0xFF);
  return b;
}

// Car logger record k (0-7) of group g (0-4).
inline void setRecord(Block& b, int g, int k, std::initializer_list<uint8_t> bytes) {
  size_t i = 12 + static_cast<size_t>(g) * 100 + static_cast<size_t>(k) * 11;
  for (uint8_t v : bytes) b[i++] = v;
}

// Sensors 1-4 and the supply voltage of group g.
inline void setGroup(Block& b, int g, std::array<uint8_t, 5> raw) {
  for (size_t i = 0; i < 5; ++i) b[12 + static_cast<size_t>(g) * 100 + 88 + i] = raw[i];
}

// Stream bytes from offset 12 on.
inline void setStream(Block& b, std::initializer_list<uint8_t> bytes, size_t from = 12) {
  for (uint8_t v : bytes) b[from++] = v;
}

inline std::string join(std::initializer_list<Block> blocks) {
  std::string s;
  for (const Block& b : blocks) s.append(reinterpret_cast<const char*>(b.data()), b.size());
  return s;
}

}  // namespace loggers::test
