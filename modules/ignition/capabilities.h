#pragma once

#include <cstdint>
#include <string>

namespace ignition {

// How the diagnosis lays out its outputs for a hardware type.
enum class DiagnosisLayout { Default, A, B, C, D, E, F };

// What a hardware type can do, derived from the high byte of the type word.
struct CapabilityRow {
  int32_t channels = 8;  // before any module or file: 8
  bool rotarySwitch = false;
  bool productLine2 = false;
  bool senderQuestions = false;
  bool pointedSenderInverts = false;
  bool potiQuestion = false;
  bool multiChannelQuestion = false;
  // Live values that the live display and the adjustment show as 0.
  bool noTemperature = false;
  bool noVoltage = false;
  bool noPoti = false;
  bool noPressure = false;
  // Added to the supply voltage, in 0.1 V.
  int32_t voltageOffsetTenths = 3;
  DiagnosisLayout diagnosisLayout = DiagnosisLayout::Default;
};

// The hardware type code is the type word's high byte.
inline int32_t hardwareTypeCode(int32_t hwTyp) {
  return (hwTyp >> 8) & 0xFF;
}

CapabilityRow capabilitiesForType(int32_t hwTyp);

// The display name of a type word's hardware type.
std::string hardwareTypeName(int32_t hwTyp);

}  // namespace ignition
