#pragma once

#include <cstdint>

#include "modules/ignition/curve_list.h"
#include "modules/ignition/ignition_record.h"

// The pressure curves and the sensor scaling as "Zündung Druck-Einstellungen"
// shows and stores them.
namespace ignition {

struct PressureSettings {
  PressureList curveA;  // list 3360, "Druckkurve 1"
  PressureList curveB;  // list 3361, "Druckkurve 2"
  int32_t sensorFactor = 122;
  int32_t sensorOffset = 10;
  bool relative = false;
};

// The record's curves as descending lists (in mBar of the record's
// relative flag), the factor as the user knows it (stored halved above 255).
PressureSettings pressureSettingsOf(const IgnitionRecord& r);

// Stores the lists in ascending pressure order, converted with the relative
// flag the record has now, so that switching "Druck relativ" keeps the bytes
// and only changes how they are shown next time. Only `FlagsB` bits 5 and 6
// change.
void storePressureSettings(IgnitionRecord& r, const PressureSettings& s);

}  // namespace ignition
