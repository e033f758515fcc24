#include <algorithm>

#include "modules/displays/shift_display.h"

namespace displays {

namespace {
constexpr int32_t kPeriodScale = 7500000;
}

bool isSpeedFactorCode(int32_t code) {
  return std::any_of(kSpeedFactors.begin(), kSpeedFactors.end(),
                     [code](const SpeedFactor& f) { return f.code == code; });
}

int32_t rpmToShiftValue(int32_t rpm, int32_t factorCode) {
  if (rpm == 0 || factorCode == 0) return 0;
  return kPeriodScale / rpm / factorCode * 2;
}

int32_t shiftValueToRpm(int32_t value, int32_t factorCode) {
  if (value == 0 || factorCode == 0) return 0;
  return kPeriodScale / value / factorCode * 2 / 10 * 10;
}

int32_t shiftUpperBound(int32_t factorCode) {
  if (factorCode <= 0) return 9999;
  return std::min(60000000 / (1024 * factorCode), 9999);
}

bool shiftThresholdFits(int32_t rpm, int32_t factorCode) {
  return rpm == 0 || (rpm >= 500 && rpm <= shiftUpperBound(factorCode));
}

}  // namespace displays
