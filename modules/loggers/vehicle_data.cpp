#include "modules/loggers/vehicle_data.h"

namespace loggers {

double evaluateCurve(const SensorCurve& curve, double input) {
  int j = 0;
  while (j < kCurvePoints && !(curve.keys[j] < input)) ++j;
  if (j == 0) return curve.values[0];
  if (j == kCurvePoints) return curve.values[kCurvePoints - 1];
  const double k0 = curve.keys[j - 1];
  const double k1 = curve.keys[j];
  // Two equal keys in a row would divide by zero; the point itself holds.
  if (k1 == k0) return curve.values[j - 1];
  return curve.values[j - 1] + (curve.values[j] - curve.values[j - 1]) * (input - k0) / (k1 - k0);
}

double lambdaFromVoltage(double volts) {
  static constexpr double kVolts[] = {0.0,  0.06, 0.11, 0.18, 0.3, 0.55,
                                      0.81, 0.88, 1.0,  1.1,  1.2, 2.5};
  static constexpr double kLambda[] = {1.3,  1.2, 1.15, 1.1, 1.05, 1.0,
                                       0.95, 0.9, 0.8,  0.7, 0.6,  0.0};
  int i = 1;
  while (i < 11 && kVolts[i] < volts) ++i;
  return kLambda[i - 1] +
         (kLambda[i] - kLambda[i - 1]) * (volts - kVolts[i - 1]) / (kVolts[i] - kVolts[i - 1]);
}

}  // namespace loggers
