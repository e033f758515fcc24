#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// Numbers for the log texts, formatted as the C library's printf formats
// them but without the process locale: the separator is given by the caller
// (a decimal comma in the German text files, a dot in CSV).
namespace loggers {

// Writers into a caller's buffer (at least 32 free bytes, more for a width
// above that or a value beyond 1e15); they return the end of what they
// wrote. The conversions build each line in place with them.

// printf "%W.Pf" (precision 0-6): rounded like printf (to nearest, ties on
// the exact binary value to even), right-aligned in `width` characters.
char* putFixed(char* out, double value, int width, int precision, char point);
// printf "%Wi", or "%0Wi" with `zeroPad`.
char* putInt(char* out, int64_t value, int width = 0, bool zeroPad = false);
// Most pieces of a log line are a few bytes long: those are copied with two
// overlapping fixed-size moves instead of a call to memcpy.
inline char* put(char* out, std::string_view text) {
  const char* p = text.data();
  const size_t n = text.size();
  if (n > 16 && n <= 32) {
    char head[16], tail[16];
    std::memcpy(head, p, 16);
    std::memcpy(tail, p + n - 16, 16);
    std::memcpy(out, head, 16);
    std::memcpy(out + n - 16, tail, 16);
  } else if (n >= 8 && n <= 16) {
    uint64_t head = 0, tail = 0;
    std::memcpy(&head, p, 8);
    std::memcpy(&tail, p + n - 8, 8);
    std::memcpy(out, &head, 8);
    std::memcpy(out + n - 8, &tail, 8);
  } else if (n >= 4 && n < 8) {
    uint32_t head = 0, tail = 0;
    std::memcpy(&head, p, 4);
    std::memcpy(&tail, p + n - 4, 4);
    std::memcpy(out, &head, 4);
    std::memcpy(out + n - 4, &tail, 4);
  } else if (n < 4) {
    for (size_t i = 0; i < n; ++i) out[i] = p[i];
  } else {
    std::memcpy(out, p, n);
  }
  return out + n;
}

void appendFixed(std::string& out, double value, int width, int precision, char point);
void appendInt(std::string& out, int64_t value, int width = 0, bool zeroPad = false);
// printf "%02x ".
void appendHexByte(std::string& out, uint8_t value);

// The plain value of a BCD byte (0x59 -> 59); nibbles above 9 count as they
// stand, as the module's own arithmetic would.
constexpr int fromBcd(uint8_t b) {
  return (b >> 4) * 10 + (b & 0x0F);
}

}  // namespace loggers
