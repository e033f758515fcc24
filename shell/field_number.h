#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace shell {

// The whole number an edit field holds: blanks around it, an optional sign,
// decimal digits. Anything else, or a value beyond 32 bits, is no number, so
// that "12a" or "-" fails a field's check instead of passing as 12 or 0.
std::optional<int32_t> parseFieldNumber(std::string_view text);

// The values an edit field accepts, both ends included.
struct FieldRange {
  int32_t low = 0;
  int32_t high = 0;
  constexpr bool contains(int32_t value) const { return value >= low && value <= high; }
};

}  // namespace shell
