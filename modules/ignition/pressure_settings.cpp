#include "modules/ignition/pressure_settings.h"

#include <algorithm>

#include "modules/ignition/conversions.h"

namespace ignition {

namespace {

void fillList(PressureList& list, const PressureCurve& curve, bool relative) {
  list.clear();
  for (int i = 0; i < kPressurePoints && curve.pressure[static_cast<size_t>(i)] != kEndOfCurve;
       ++i) {
    list.insertPressureEntry(byteToPressure(relative, curve.pressure[static_cast<size_t>(i)]),
                             curve.angle[static_cast<size_t>(i)]);
  }
}

void storeList(PressureCurve& curve, const PressureList& list, bool relative) {
  const auto& entries = list.entries();
  const size_t n = std::min(entries.size(), static_cast<size_t>(kPressurePoints));
  for (size_t slot = 0; slot < n; ++slot) {
    const std::string& e = entries[n - 1 - slot];
    curve.pressure[slot] = pressureToByte(relative, pressureEntryValue(e));
    curve.angle[slot] = static_cast<int8_t>(angleToByte(pressureEntryAngle(e)));
  }
  if (n < static_cast<size_t>(kPressurePoints)) curve.pressure[n] = kEndOfCurve;
}

}  // namespace

PressureSettings pressureSettingsOf(const IgnitionRecord& r) {
  PressureSettings s;
  fillList(s.curveA, r.UnterDruckA, r.relativePressure());
  fillList(s.curveB, r.UnterDruckB, r.relativePressure());
  s.sensorFactor = r.UnterDruckSensorF;
  if (r.FlagsB & bits::kFlagsBFactorHalved) s.sensorFactor *= 2;
  s.sensorOffset = r.UnterDruckSensorC;
  s.relative = r.relativePressure();
  return s;
}

void storePressureSettings(IgnitionRecord& r, const PressureSettings& s) {
  const bool relative = r.relativePressure();
  storeList(r.UnterDruckA, s.curveA, relative);
  storeList(r.UnterDruckB, s.curveB, relative);
  if (s.sensorFactor > 255) {
    r.UnterDruckSensorF = static_cast<uint8_t>(s.sensorFactor / 2);
    r.FlagsB |= bits::kFlagsBFactorHalved;
  } else {
    r.UnterDruckSensorF = static_cast<uint8_t>(s.sensorFactor);
    r.FlagsB &= static_cast<uint8_t>(~bits::kFlagsBFactorHalved);
  }
  r.UnterDruckSensorC = static_cast<uint8_t>(s.sensorOffset);
  if (s.relative) {
    r.FlagsB |= bits::kFlagsBRelativePressure;
  } else {
    r.FlagsB &= static_cast<uint8_t>(~bits::kFlagsBRelativePressure);
  }
}

}  // namespace ignition
