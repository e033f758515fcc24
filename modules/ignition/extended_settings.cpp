#include "modules/ignition/extended_settings.h"

#include "modules/ignition/conversions.h"
#include "modules/ignition/dialog_text_ids.h"

namespace ignition {

namespace {
// Flags bits kept: early sender, inverted, waste spark, free offset.
constexpr uint8_t kFlagsKept = 0x6C;
constexpr uint8_t kFlagsBKept = 0xFB;
// FlagsD bits kept: everything but cam detection, Z1 signal and rpm output.
constexpr uint8_t kFlagsDKept = 0xE3;
constexpr uint8_t kPotiBits = 0x03;

bool bit(uint8_t byte, int n) {
  return ((byte >> n) & 1) != 0;
}
uint8_t bitIf(bool on, int n) {
  return on ? static_cast<uint8_t>(1u << n) : 0;
}
}  // namespace

ExtendedSettingsForm extendedSettingsOf(const IgnitionRecord& r) {
  ExtendedSettingsForm f;
  f.hardLimiter = bit(r.FlagsC, 0);
  f.quickStart = bit(r.FlagsC, 1);
  f.halfVaneOutput = bit(r.FlagsC, 2);
  f.externalDisplay = bit(r.FlagsC, 3);
  f.inductiveCompatibility = bit(r.FlagsC, 4);
  f.directMode = bit(r.FlagsC, 5);
  f.secondSpark = bit(r.FlagsC, 6);
  f.lowDirectMode = bit(r.FlagsC, 7);
  f.camDetection = bit(r.FlagsD, 2);
  f.z1SignalOff = bit(r.FlagsD, 3);
  f.rpmOutputInverted = bit(r.FlagsD, 4);
  f.crankPlusTdc = bit(r.FlagsB, 2);
  f.halfVaneDetection = bit(r.Flags, 4);
  f.logging = bit(r.Flags, 7);
  const int32_t poti = r.Flags & kPotiBits;
  f.potiRange = poti == kPotiRangeMinusFourToFive ? kPotiRangeMinusFourToFive
                : poti == kPotiRangeZeroToNine    ? kPotiRangeZeroToNine
                                                  : kPotiRangeOff;
  f.shiftLightRpm = r.SchaltBlitz;
  f.startCount = r.StartZeit;
  f.logMode = signedByte(r.LogModus);
  f.senderMode = r.GeberModus > 2 ? 0 : r.GeberModus;
  f.limiterCount = r.LimiterZahl;
  return f;
}

int32_t saveExtendedSettings(IgnitionRecord& r, const ExtendedSettingsForm& f) {
  if (f.logging && f.externalDisplay) return texts::kTextLoggingAndDisplay;
  r.Flags = static_cast<uint8_t>((r.Flags & kFlagsKept) | (f.potiRange & kPotiBits) |
                                 bitIf(f.logging, 7) | bitIf(f.halfVaneDetection, 4));
  r.FlagsB = static_cast<uint8_t>((r.FlagsB & kFlagsBKept) | bitIf(f.crankPlusTdc, 2));
  r.FlagsC = static_cast<uint8_t>(bitIf(f.hardLimiter, 0) | bitIf(f.quickStart, 1) |
                                  bitIf(f.halfVaneOutput, 2) | bitIf(f.externalDisplay, 3) |
                                  bitIf(f.inductiveCompatibility, 4) | bitIf(f.directMode, 5) |
                                  bitIf(f.secondSpark, 6) | bitIf(f.lowDirectMode, 7));
  r.FlagsD = static_cast<uint8_t>((r.FlagsD & kFlagsDKept) | bitIf(f.camDetection, 2) |
                                  bitIf(f.z1SignalOff, 3) | bitIf(f.rpmOutputInverted, 4));
  r.SchaltBlitz = roundRpm50(f.shiftLightRpm);
  r.StartZeit = static_cast<uint8_t>(f.startCount);
  r.LogModus = static_cast<uint8_t>(f.logMode & 0xFF);
  r.GeberModus = static_cast<uint8_t>(f.senderMode);
  r.LimiterZahl = static_cast<uint8_t>(f.limiterCount);
  return 0;
}

QuickStartBoxes quickStartRule(const IgnitionRecord& r, bool camChecked, bool quickChecked) {
  QuickStartBoxes boxes;
  const bool excluded = (r.FlagsB & (bits::kFlagsBCrankSender | bits::kFlagsBMultiChannel)) != 0 ||
                        (r.Flags & bits::kFlagsWasteSpark) != 0;
  boxes.quickEnabled = !excluded && !camChecked;
  boxes.quickChecked = boxes.quickEnabled && quickChecked;
  boxes.camEnabled = !boxes.quickChecked;
  return boxes;
}

}  // namespace ignition
