#include "modules/ignition/basic_settings.h"

#include <algorithm>

#include "modules/ignition/dialog_text_ids.h"
#include "modules/ignition/version_gates.h"

namespace ignition {

namespace {
// Flags bits the dialog does not show: poti range, half vane, logging.
constexpr uint8_t kFlagsKept = 0x93;
// FlagsB bits the dialog does not show: KW + OT, lock, pressure flags, bit 7.
constexpr uint8_t kFlagsBKept = 0xF4;
constexpr int32_t kCrankLow = -54;
constexpr int32_t kCrankHigh = 199;
}  // namespace

TriggerMode triggerModeOf(const IgnitionRecord& r) {
  if (r.FlagsB & bits::kFlagsBCrankSender) return TriggerMode::Crank;
  if (r.Flags & bits::kFlagsFreeOffset) return TriggerMode::FreeOffset;
  if (r.Flags & bits::kFlagsEarlySender) return TriggerMode::Early;
  return TriggerMode::Tdc;
}

OffsetFieldSetup openOffsetField(IgnitionRecord& r) {
  OffsetFieldSetup setup;
  if (gates::offsetFieldEditsOffset(r.firmwareVersion)) {
    setup.editsVersatz = false;
    r.Versatz = 0;
    setup.value = r.Offset;
    setup.enabled = true;
    return setup;
  }
  setup.editsVersatz = true;
  r.Offset = 0;
  const TriggerMode mode = triggerModeOf(r);
  setup.enabled = mode == TriggerMode::FreeOffset || mode == TriggerMode::Crank;
  if (!setup.enabled) r.Versatz = mode == TriggerMode::Early ? kEarlySenderOffset : 0;
  setup.value = versatzDegrees(r.Versatz);
  return setup;
}

FieldRange offsetFieldRange(const IgnitionRecord& r, bool offsetIsVersatz, bool crankMode) {
  // Before 3.3 the field is the curve shift, whatever the sender.
  if (!offsetIsVersatz) return {-10, 10};
  if (crankMode) return {kCrankLow, kCrankHigh};
  // A module never holds 0 cylinders, but a file may.
  const int32_t cylinders = r.Zylinder == 0 ? 1 : r.Zylinder;
  // One firing interval, but never beyond 199: stored bytes from 200 on mean
  // negative angles, so 250 on a single would reach the module as -6.
  return {0, std::min(r.Takte * 180 / cylinders - 1, kCrankHigh)};
}

FieldRange teethRange(const IgnitionRecord& r) {
  return {24, (r.FlagsB & bits::kFlagsBCrankPlusTdc) ? 100 : 200};
}

ModeRule modeRule(TriggerMode mode, bool offsetIsVersatz) {
  ModeRule rule;
  rule.wheelEnabled = mode == TriggerMode::Crank;
  if (!offsetIsVersatz) return rule;
  switch (mode) {
    case TriggerMode::Tdc:
      rule.setsOffset = true;
      rule.offsetValue = 0;
      rule.offsetEnabled = false;
      break;
    case TriggerMode::Early:
      rule.setsOffset = true;
      rule.offsetValue = kEarlySenderOffset;
      rule.offsetEnabled = false;
      break;
    case TriggerMode::FreeOffset:
    case TriggerMode::Crank:
      break;
  }
  return rule;
}

int32_t saveBasicSettings(IgnitionState& s, bool offsetIsVersatz, const BasicSettingsForm& f) {
  IgnitionRecord& r = s.record;
  if (f.mode == TriggerMode::Crank) {
    const int32_t sparks = f.wasteSpark ? f.cylinders / 2 : f.cylinders;
    if (sparks == 0 || f.teeth % sparks != 0) return texts::kTextTeethDoNotFitCylinders;
  }
  r.Zylinder = static_cast<uint8_t>(f.cylinders);
  r.Takte = static_cast<uint8_t>(f.strokes);
  r.Ladezeit = static_cast<uint8_t>(f.chargeTenths);
  if (offsetIsVersatz) {
    r.Versatz = static_cast<uint8_t>(f.offset & 0xFF);
  } else {
    r.Offset = f.offset;
  }
  uint8_t flags = r.Flags & kFlagsKept;
  if (f.mode == TriggerMode::Early) flags |= bits::kFlagsEarlySender;
  if (f.mode == TriggerMode::FreeOffset) flags |= bits::kFlagsFreeOffset;
  if (f.inverted) flags |= bits::kFlagsInverted;
  if (f.wasteSpark) {
    flags |= bits::kFlagsWasteSpark;
    r.Zylinder /= 2;
    r.Takte /= 2;
  }
  r.Flags = flags;
  uint8_t flagsB = r.FlagsB & kFlagsBKept;
  if (f.multiChannel) flagsB |= bits::kFlagsBMultiChannel;
  if (f.inductive) flagsB |= bits::kFlagsBInductive;
  if (f.mode == TriggerMode::Crank) flagsB |= bits::kFlagsBCrankSender;
  r.FlagsB = flagsB;
  r.KwZaehne = static_cast<uint8_t>(f.teeth);
  r.KwLuecke = static_cast<uint8_t>(f.gap);
  reevaluateDirectMode(s);
  return 0;
}

}  // namespace ignition
