#pragma once

#include <cstdint>

// What a firmware version (major * 256 + minor, patch masked off) allows.
namespace ignition::gates {

inline bool curveLimitedToEightPoints(int32_t v) {
  return v < 0x200;
}
inline bool appendsPointsAboveLimiter(int32_t v) {
  return v >= 0x200 && v <= 0x701;
}
inline bool readStopsAfterCurves(int32_t v) {
  return v < 0x205;
}
inline bool offsetFieldEditsOffset(int32_t v) {
  return v < 0x303;
}
inline bool hasFlagsB(int32_t v) {
  return v >= 0x400;
}
inline bool adjustmentAllowed(int32_t v) {
  return v >= 0x404;
}
inline bool checksEngineAndRequiredSoftware(int32_t v) {
  return v >= 0x500;
}
inline bool automaticAdjustmentAllowed(int32_t v) {
  return v >= 0x501;
}
inline bool hasPin(int32_t v) {
  return v >= 0x504;
}
inline int32_t maximumLimiterRpm(int32_t v) {
  return v < 0x600 ? 9950 : 12500;
}
inline bool hasFlagsCAndVehicleInfo(int32_t v) {
  return v >= 0x602;
}
inline bool hasFlagsD(int32_t v) {
  return v >= 0x702;
}
inline bool rpmMeterTestAllowed(int32_t v) {
  return v >= 0x702;
}
inline bool controlDialogAllowed(int32_t v) {
  return v >= 0x703;
}
inline bool onlineTuningAllowed(int32_t v) {
  return v >= 0x705;
}
inline bool diagnosisAllowed(int32_t v) {
  return v >= 0x300;
}
// The full version word: patch in bits 12-15.
inline bool writesVehicleInfo(uint32_t word) {
  int32_t v = static_cast<int32_t>(word & 0xFFF);
  int32_t patch = static_cast<int32_t>((word >> 12) & 0xF);
  return !(v >= 0x700 && v <= 0x702) && !(v == 0x703 && patch < 3);
}
inline bool isOldFirmware(int32_t v) {
  int32_t major = v >> 8;
  int32_t minor = v & 0xFF;
  return major < 8 || (major == 8 && minor < 3);
}

}  // namespace ignition::gates
