#include "modules/ignition/conversions.h"

#include <cmath>

namespace ignition {

int32_t ktyTemperature(uint8_t raw) {
  double x = raw / 256.0;
  double r = 3320.0 * x / (1.0 - x);
  double radicand = r / 2000.0 * 7.748e-5 - 1.53856e-5;
  if (radicand < 0) radicand = 0;
  double t = (std::sqrt(radicand) - 0.00788) / 3.874e-5 + 25.0;
  return static_cast<int32_t>(t);
}

}  // namespace ignition
