#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Firmware files for the tests, written field by field from the file layout:
// numbers high byte first, the checksum summed here as the layout defines it.
namespace firmware_test {

struct Record {
  uint32_t address = 0;
  std::vector<uint8_t> data;
  std::optional<uint32_t> lengthField;  // a length that does not match the data
};

inline Record chunks(uint32_t address, size_t count, uint8_t first = 0x10) {
  Record r{address, {}, {}};
  for (size_t i = 0; i < count * 16; ++i) r.data.push_back(static_cast<uint8_t>(first + i));
  return r;
}

struct Section {
  uint16_t format = 0x0200;
  std::optional<uint16_t> dataOffset;  // 32 for the older formats, 40 else
  uint16_t deviceId = 0xAD07;
  uint32_t runningNumber = 17;
  uint16_t baudRate = 9600;
  uint8_t eraseExponent = 6;
  uint8_t writeExponent = 5;
  uint8_t version[4] = {8, 4, 1, 0};
  uint16_t typeId = 0x0800;
  uint8_t family = 0xE0;
  std::vector<Record> records = {chunks(0x1000, 2)};
  std::vector<uint8_t> tail;            // bytes after the records
  std::optional<uint32_t> lengthField;  // instead of the real length
  bool checksumRight = true;
};

inline void put16(std::string& s, size_t at, uint32_t v) {
  s[at] = static_cast<char>(v >> 8);
  s[at + 1] = static_cast<char>(v);
}
inline void put32(std::string& s, size_t at, uint32_t v) {
  put16(s, at, v >> 16);
  put16(s, at + 2, v);
}
inline void append32(std::string& s, uint32_t v) {
  s.append(4, '\0');
  put32(s, s.size() - 4, v);
}

// Byte j of the checksum: the sum of the bytes at 8 + 4k + j.
inline uint32_t checksumOf(const std::string& s, size_t length) {
  uint8_t sums[4] = {};
  for (size_t at = 8; at < length; at += 4) {
    for (size_t j = 0; j < 4; ++j) {
      sums[j] = static_cast<uint8_t>(sums[j] + (at + j < s.size() ? s[at + j] : 0));
    }
  }
  return uint32_t{sums[0]} << 24 | uint32_t{sums[1]} << 16 | uint32_t{sums[2]} << 8 | sums[3];
}

inline std::string section(const Section& f) {
  const bool older = f.format != 0x0200;
  const uint16_t dataOffset = f.dataOffset.value_or(older ? 32 : 40);
  std::string s(dataOffset, '\0');
  put16(s, 0, f.format);
  put16(s, 2, dataOffset);
  put16(s, 14, f.deviceId);
  put32(s, 24, f.runningNumber);
  put16(s, 28, f.baudRate);
  s[30] = static_cast<char>(f.eraseExponent);
  s[31] = static_cast<char>(f.writeExponent);
  if (!older && s.size() >= 39) {
    for (int i = 0; i < 4; ++i) s[32 + i] = static_cast<char>(f.version[i]);
    put16(s, 36, f.typeId);
    s[38] = static_cast<char>(f.family);
  }
  for (const Record& r : f.records) {
    append32(s, r.address);
    append32(s, r.lengthField.value_or(static_cast<uint32_t>(r.data.size())));
    s.append(r.data.begin(), r.data.end());
  }
  s.append(f.tail.begin(), f.tail.end());
  put32(s, 8, f.lengthField.value_or(static_cast<uint32_t>(s.size())));
  uint32_t sum = checksumOf(s, s.size());
  if (!f.checksumRight) sum ^= 0x01;
  put32(s, 4, sum);
  return s;
}

}  // namespace firmware_test
