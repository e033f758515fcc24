#pragma once

#include <cstdint>

#include "modules/loggers/vehicle_data.h"

// The car logger's raw values in physical units, with the vehicle data.
namespace loggers {

double supplyVoltage(const VehicleData& v, uint8_t raw);
double acceleration(uint8_t raw, float offset);
double lambdaProbe(const VehicleData& v, uint8_t raw);
// From record bytes 2 (ignition pulses) and 3-4 (their total length in 8 us
// units). 0 with fewer than two pulses, and where the formula would divide
// by zero (no cylinders in the file, a length of 0).
double engineSpeed(const VehicleData& v, uint8_t pulses, uint16_t length);
// Without a [Poti] section the raw byte itself.
double potiValue(const VehicleData& v, uint8_t raw, double volts);
// Sensor 0-3; 0 when not fitted or the raw value is 0.
double sensorValue(const VehicleData& v, int sensor, uint8_t raw);

// The wheel speed, carried from record to record.
class SpeedTracker {
 public:
  // One 250 ms record: bytes 0 and 1. Returns the speed in km/h.
  double record(const VehicleData& v, uint8_t byte0, uint8_t byte1);
  // After a long gap the wheel is taken to have stood.
  void reset() { *this = SpeedTracker(); }
  double speed() const { return speed_; }
  uint32_t pulseTotal() const { return pulseTotal_; }
  // Pulse total times the circumference, cut to whole metres.
  int64_t distanceMetres(const VehicleData& v) const;

 private:
  double speed_ = 0.0;
  uint32_t pulseTotal_ = 0;
  uint32_t pulseFree_ = 0;
  int32_t lastPulseUs_ = 0;
};

}  // namespace loggers
