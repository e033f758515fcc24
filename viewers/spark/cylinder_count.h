#pragma once

#include <optional>
#include <string>

namespace spark {

inline constexpr double kMinCylinders = 2.0;
inline constexpr double kMaxCylinders = 8.0;
inline constexpr double kDefaultCylinders = 4.0;

// The leading number of a text, as the stored settings and the command line
// give it: blanks skipped, optional sign, digits with a decimal point; 0
// when there is none ("4 Zylinder" gives 4, "" gives 0).
double numericValue(const std::string& text);

// The cylinder count at start: the stored value, replaced by the command
// line's "zyl" when given; below 2 falls back to 4, above 8 is held at 8.
double startCylinderCount(const std::string& stored,
                          const std::optional<std::string>& fromCommandLine);

}  // namespace spark
