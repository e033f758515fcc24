#include "modules/loggers/number_text.h"

#include <charconv>
#include <cmath>

namespace loggers {

namespace {

constexpr double kPowers[] = {1.0, 10.0, 100.0, 1000.0, 10000.0, 100000.0, 1000000.0};

// Right-aligns [start, end) in `width` characters.
char* pad(char* start, char* end, int width) {
  const int length = static_cast<int>(end - start);
  if (width <= length) return end;
  const int shift = width - length;
  std::memmove(start + shift, start, static_cast<size_t>(length));
  std::memset(start, ' ', static_cast<size_t>(shift));
  return end + shift;
}

char* exactFixed(char* out, double value, int precision, char point) {
  char buffer[400];
  const auto r =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  for (char* p = buffer; p != r.ptr; ++p) {
    *out++ = *p == '.' ? point : *p;
  }
  return out;
}

// Two digits at a time, written backwards into place: the conversions print
// some hundred million numbers, so no number is built twice or moved.
constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr uint64_t kTens[] = {1ull,
                              10ull,
                              100ull,
                              1000ull,
                              10000ull,
                              100000ull,
                              1000000ull,
                              10000000ull,
                              100000000ull,
                              1000000000ull,
                              10000000000ull,
                              100000000000ull,
                              1000000000000ull,
                              10000000000000ull,
                              100000000000000ull,
                              1000000000000000ull,
                              10000000000000000ull,
                              100000000000000000ull,
                              1000000000000000000ull,
                              10000000000000000000ull};

[[gnu::always_inline]] inline int digitCount(uint64_t m) {
  int n = 1;
  while (n < 20 && m >= kTens[n]) ++n;
  return n;
}

// The last `count` digits of m (leading zeros as needed), ending at `end`.
[[gnu::always_inline]] inline void digitsBefore(char* end, uint64_t m, int count) {
  char* p = end;
  char* const first = end - count;
  while (m >= 100 && p - first >= 2) {
    const auto pair = static_cast<size_t>(m % 100) * 2;
    m /= 100;
    *--p = kPairs[pair + 1];
    *--p = kPairs[pair];
  }
  while (p > first) {
    *--p = static_cast<char>('0' + m % 10);
    m /= 10;
  }
}

[[gnu::always_inline]] inline char* spaces(char* out, int n) {
  for (int i = 0; i < n; ++i) *out++ = ' ';
  return out;
}

}  // namespace

char* putInt(char* out, int64_t value, int width, bool zeroPad) {
  const uint64_t magnitude =
      value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  const int sign = value < 0 ? 1 : 0;
  int digits = digitCount(magnitude);
  if (zeroPad && width - sign > digits) digits = width - sign;
  out = spaces(out, width - sign - digits);
  if (sign) *out++ = '-';
  digitsBefore(out + digits, magnitude, digits);
  return out + digits;
}

char* putFixed(char* out, double value, int width, int precision, char point) {
  double scaled = 0.0;
  if (precision == 0 && std::isfinite(value) && std::fabs(value) < 1e15) {
    // Rounding to a whole number is exact in binary: ties go to even as
    // printf has them.
    scaled = std::fabs(std::nearbyint(value));
  } else {
    scaled = value * kPowers[precision];
    // The scaled product is rounded once; only where it lands next to a
    // tie could that differ from printf's exact decimal rounding, and only
    // there the exact (slower) path runs.
    const double fraction = std::fabs(scaled - std::trunc(scaled));
    if (!std::isfinite(scaled) || std::fabs(scaled) > 1e15 || std::fabs(fraction - 0.5) < 1e-6) {
      char* start = out;
      return pad(start, exactFixed(out, value, precision, point), width);
    }
    scaled = std::fabs(std::round(scaled));
  }
  const auto magnitude = static_cast<uint64_t>(scaled);
  const int sign = std::signbit(value) ? 1 : 0;
  int digits = digitCount(magnitude);
  if (digits < precision + 1) digits = precision + 1;
  const int whole = digits - precision;
  const int length = sign + whole + (precision > 0 ? precision + 1 : 0);
  out = spaces(out, width - length);
  if (sign) *out++ = '-';
  digitsBefore(out + whole, magnitude / kTens[precision], whole);
  out += whole;
  if (precision > 0) {
    *out++ = point;
    digitsBefore(out + precision, magnitude % kTens[precision], precision);
    out += precision;
  }
  return out;
}

void appendFixed(std::string& out, double value, int width, int precision, char point) {
  char buffer[448];
  const size_t limit = sizeof buffer - 48;
  if (width > static_cast<int>(limit)) width = static_cast<int>(limit);
  out.append(buffer, putFixed(buffer, value, width, precision, point));
}

void appendInt(std::string& out, int64_t value, int width, bool zeroPad) {
  char buffer[64];
  if (width > 40) width = 40;
  out.append(buffer, putInt(buffer, value, width, zeroPad));
}

void appendHexByte(std::string& out, uint8_t value) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back(kHex[value >> 4]);
  out.push_back(kHex[value & 0x0F]);
  out.push_back(' ');
}

}  // namespace loggers
