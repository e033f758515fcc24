#include "viewers/spark/cylinder_count.h"

#include <cctype>
#include <cmath>

namespace spark {

double numericValue(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  double sign = 1.0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') sign = -1.0;
    ++i;
  }
  double value = 0.0;
  // Digits beyond what a double holds only make the number large; the
  // cylinder limits take care of that.
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10.0 + (text[i] - '0');
  }
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
      value += (text[i] - '0') * scale;
      scale /= 10.0;
    }
  }
  return std::isfinite(value) ? sign * value : sign * 1e308;
}

double startCylinderCount(const std::string& stored,
                          const std::optional<std::string>& fromCommandLine) {
  double count = numericValue(stored);
  if (fromCommandLine) count = numericValue(*fromCommandLine);
  if (count < kMinCylinders) return kDefaultCylinders;
  if (count > kMaxCylinders) return kMaxCylinders;
  return count;
}

}  // namespace spark
