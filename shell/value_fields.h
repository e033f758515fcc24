#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace shell {

// Fixed-point values in edit fields, shown and typed with a decimal comma.

// decimals 1: "12,3"; 2: "1,23"; 3: "0,123"; anything else: the plain number.
// The parts are printed as signed 32-bit numbers, so with decimals 0 a
// negative value that a caller passed as unsigned shows as negative.
std::string formatFixed(uint32_t value, int decimals);

// The first 9 characters of the field, "," read as ".", as a 32-bit float f;
// then truncate((f + 0.05) * 10), ((f + 0.005) * 100), ((f + 0.0005) * 1000)
// for 1, 2, 3 decimals, else truncate(f), every step in float precision.
// 0 when the field holds no number; INT32_MIN when the result does not fit
// (as the x86 conversion gives), which every range check refuses.
int32_t parseFixed(std::string_view fieldText, int decimals);

void pointToComma(std::string& text);
void commaToPoint(std::string& text);

// Line ends of multi-line edit fields (CR LF) and of stored texts (LF).
// Removes all CR and LF characters from the end.
void cutLineEnd(std::string& text);
void removeCarriageReturns(std::string& text);
// Puts a CR before every LF. The text stays within a buffer of `size` bytes
// (size - 1 bytes of text): where a CR does not fit, the last character is
// dropped to make room.
void addCarriageReturns(std::string& text, size_t size);

}  // namespace shell
