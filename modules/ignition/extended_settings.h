#pragma once

#include <cstdint>

#include "modules/ignition/ignition_record.h"

// The rules of "Zündung erweiterte Einstellungen" (special functions,
// logging, tuning potentiometer, shift light), apart from its widgets.
namespace ignition {

// Poti range as `Flags` bits 0-1: "aus", "0 - +9", "-4 - +5".
enum PotiRange : int32_t {
  kPotiRangeOff = 0,
  kPotiRangeZeroToNine = 2,
  kPotiRangeMinusFourToFive = 3
};

struct ExtendedSettingsForm {
  // FlagsC, bits 0-7
  bool hardLimiter = false;
  bool quickStart = false;
  bool halfVaneOutput = false;
  bool externalDisplay = false;
  bool inductiveCompatibility = false;
  bool directMode = false;
  bool secondSpark = false;
  bool lowDirectMode = false;
  // FlagsD bits 2-4
  bool camDetection = false;
  bool z1SignalOff = false;
  bool rpmOutputInverted = false;
  // FlagsB bit 2
  bool crankPlusTdc = false;
  // Flags
  bool halfVaneDetection = false;
  bool logging = false;
  int32_t potiRange = kPotiRangeOff;
  int32_t shiftLightRpm = 9950;
  int32_t startCount = 3;
  int32_t logMode = 8;
  int32_t senderMode = 0;  // index of the "Gebermodus" item
  int32_t limiterCount = 20;
};

// The form as the dialog opens it; a sender mode above 2 shows as 0.
ExtendedSettingsForm extendedSettingsOf(const IgnitionRecord& r);

// Stores the form: `FlagsC` entirely, only the shown bits of the other
// flag bytes, the shift light rounded to 50 rpm. 0, or 8075 when logging and
// the external display would share the bus output (nothing is stored).
int32_t saveExtendedSettings(IgnitionRecord& r, const ExtendedSettingsForm& f);

// "Nockenerkennung" and "Schnellstart" exclude each other, and quick start
// exists only without crankshaft sender, waste spark and multi-channel
// operation. A disabled "Schnellstart" is also unchecked.
struct QuickStartBoxes {
  bool camEnabled = true;
  bool quickEnabled = true;
  bool quickChecked = false;
};
QuickStartBoxes quickStartRule(const IgnitionRecord& r, bool camChecked, bool quickChecked);

}  // namespace ignition
