#include "modules/loggers/car_values.h"

#include <cmath>

namespace loggers {

namespace {
constexpr int32_t kRecordUs = 250000;
// A wheel that gave no pulse for more records than this stands.
constexpr uint32_t kStandstillRecords = 5;
}  // namespace

double supplyVoltage(const VehicleData& v, uint8_t raw) {
  return v.reference * 3.0 * raw / 256;
}

double acceleration(uint8_t raw, float offset) {
  return raw / 50.0 - offset;
}

double lambdaProbe(const VehicleData& v, uint8_t raw) {
  return lambdaFromVoltage(raw * static_cast<double>(v.reference) * 0.5 / 256);
}

double engineSpeed(const VehicleData& v, uint8_t pulses, uint16_t length) {
  const int32_t c = pulses - 1;
  if (c <= 0 || v.cylinders <= 0 || length == 0) return 0.0;
  return static_cast<double>(120000 / v.cylinders) * 125 * c / length;
}

double potiValue(const VehicleData& v, uint8_t raw, double volts) {
  if (v.poti.parameter == 0) return raw;
  return evaluateCurve(v.poti, raw * v.poti.factor * volts / 256);
}

double sensorValue(const VehicleData& v, int sensor, uint8_t raw) {
  const SensorCurve& c = v.sensors[static_cast<size_t>(sensor)];
  if (raw == 0 || c.parameter == 0) return 0.0;
  const double r = raw * c.factor / 765;
  return evaluateCurve(c, c.parameter * r / (1 - r));
}

double SpeedTracker::record(const VehicleData& v, uint8_t byte0, uint8_t byte1) {
  const uint32_t n = byte1 & 0x1F;
  if (n == 0) {
    if (++pulseFree_ > kStandstillRecords) speed_ = 0.0;
    return speed_;
  }
  const int32_t t = byte0 * 1000 + (byte1 >> 5) * 128;
  int64_t period = static_cast<int64_t>(t) - lastPulseUs_ + kRecordUs;
  if (pulseFree_ != 0) period += static_cast<int64_t>(pulseFree_) * kRecordUs;
  pulseFree_ = 0;
  lastPulseUs_ = t;
  pulseTotal_ += n;
  // Two pulses timed out of order cannot give a speed.
  speed_ =
      period > 0 ? v.wheelCircumference * 3.6 * 1000000 / (static_cast<double>(period) / n) : 0.0;
  return speed_;
}

int64_t SpeedTracker::distanceMetres(const VehicleData& v) const {
  const float metres = static_cast<float>(pulseTotal_) * v.wheelCircumference;
  if (!std::isfinite(metres) || std::fabs(metres) > 9e15f) return 0;
  return static_cast<int64_t>(metres);
}

}  // namespace loggers
