#pragma once

#include <array>
#include <cstdint>
#include <string>

// What the car logger's vehicle file says about the car: the analog scale,
// the wheel, the cylinders and the curves of the throttle potentiometer and
// of the four resistive sensors.
namespace loggers {

constexpr int kCurvePoints = 19;
// The file holds at most this many lines per curve; the last point stays 0.
constexpr int kCurveLines = 18;
constexpr size_t kUnitLength = 11;

struct SensorCurve {
  std::string unit;       // at most 11 characters, UTF-8
  int32_t parameter = 0;  // series resistor in ohms (0: not fitted); poti: 1 = present
  std::array<int32_t, kCurvePoints> keys{};  // descending; unused points 0
  double factor = 0.0;
  std::array<double, kCurvePoints> values{};
};

struct VehicleData {
  float reference = 0.0f;
  float wheelCircumference = 0.0f;  // metres per wheel pulse
  float gOffsetX = 0.0f;
  float gOffsetY = 0.0f;
  int32_t cylinders = 0;
  SensorCurve poti;
  std::array<SensorCurve, 4> sensors;
};

// The curve at `input`: linear between the two points around it. Inputs
// below the smallest key run toward the zero points that fill the curve.
// Where the points end (above the largest key, below the last point, or a
// NaN) the nearest end value is taken, so a raw value the file did not
// foresee never reads beyond the 19 points.
double evaluateCurve(const SensorCurve& curve, double input);

// Probe voltage to lambda through the fixed wide-band table; above 2.5 V
// the last segment is extended.
double lambdaFromVoltage(double volts);

}  // namespace loggers
