#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace shell {

// Numbers read the way the C library's scanf reads them, independent of the
// locale the GUI sets (a German locale would otherwise take "," as the
// decimal point and stop at "."). Leading blanks are skipped and anything
// after the number is ignored; nullopt when no number starts the text.

// "%i": optional sign, decimal digits, "0x" + hexadecimal digits, or a leading
// "0" for octal. A value too large for 32 bits keeps its lowest 32 bits, as a
// 32-bit scanf stores it.
std::optional<int32_t> scanInt(std::string_view text);

// "%f" into a 32-bit float.
std::optional<float> scanFloat(std::string_view text);

}  // namespace shell
