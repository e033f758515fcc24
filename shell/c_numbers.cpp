#include "shell/c_numbers.h"

#include <locale.h>

#include <cstdlib>
#include <string>

namespace shell {

namespace {

locale_t cLocale() {
  static const locale_t locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return locale;
}

}  // namespace

std::optional<int32_t> scanInt(std::string_view text) {
  std::string copy(text);
  const char* start = copy.c_str();
  while (*start == ' ' || (*start >= '\t' && *start <= '\r')) ++start;
  bool negative = *start == '-';
  const char* digits = (*start == '-' || *start == '+') ? start + 1 : start;
  if (*digits < '0' || *digits > '9') return std::nullopt;
  // strtoull saturates instead of wrapping, so the sign is applied to the
  // low bits of the magnitude here.
  uint32_t low = static_cast<uint32_t>(std::strtoull(digits, nullptr, 0));
  if (negative) low = 0u - low;
  return static_cast<int32_t>(low);
}

std::optional<float> scanFloat(std::string_view text) {
  std::string copy(text);
  char* end = nullptr;
  locale_t previous = ::uselocale(cLocale());
  float value = std::strtof(copy.c_str(), &end);
  ::uselocale(previous);
  if (end == copy.c_str()) return std::nullopt;
  return value;
}

}  // namespace shell
