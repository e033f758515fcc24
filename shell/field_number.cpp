#include "shell/field_number.h"

namespace shell {

std::optional<int32_t> parseFieldNumber(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  bool negative = false;
  if (begin < end && (text[begin] == '-' || text[begin] == '+')) {
    negative = text[begin] == '-';
    ++begin;
  }
  if (begin == end) return std::nullopt;
  int64_t value = 0;
  for (size_t i = begin; i < end; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace shell
