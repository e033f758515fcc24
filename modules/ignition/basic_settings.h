#pragma once

#include <cstdint>

#include "modules/ignition/ignition_state.h"
#include "shell/field_number.h"

// The rules of "Zündungs-Einstellungen" (engine, sender, trigger mode),
// apart from its widgets.
namespace ignition {

// The edit-field numbers every dialog shares.
using shell::FieldRange;
using shell::parseFieldNumber;

// The four trigger-mode radio buttons.
enum class TriggerMode { Tdc, Early, FreeOffset, Crank };  // "OT-Geber" … "KW-Geber"

TriggerMode triggerModeOf(const IgnitionRecord& r);

// The early sender sits a fixed 50 degrees before top dead centre.
constexpr int32_t kEarlySenderOffset = 50;

// What the offset field (3205) edits and shows when the dialog opens. Opening
// already changes the record: the field that is not edited is cleared, and
// outside the free and crankshaft modes `Versatz` takes the mode's value.
struct OffsetFieldSetup {
  bool editsVersatz = true;  // the page's `offsetIsVersatz`
  int32_t value = 0;         // `Versatz` signed, or `Offset`
  bool enabled = true;
};
OffsetFieldSetup openOffsetField(IgnitionRecord& r);

// `Offset` -10..+10; `Versatz` up to one firing interval in degrees (stored
// cylinders and strokes); with a crankshaft sender -54..199 either way.
FieldRange offsetFieldRange(const IgnitionRecord& r, bool offsetIsVersatz, bool crankMode);
// 24-200 teeth, 24-100 with the additional cylinder-1 sender.
FieldRange teethRange(const IgnitionRecord& r);

// What a trigger mode does to the offset field and the trigger-wheel fields.
struct ModeRule {
  bool setsOffset = false;  // the field takes `offsetValue`
  int32_t offsetValue = 0;
  bool offsetEnabled = true;
  bool wheelEnabled = false;  // "Zähne", "Lücke"
};
// With firmware that edits `Offset` the field is the curve shift, which has
// nothing to do with the sender: the modes leave it alone there (an early
// sender would otherwise store a shift of 50, far outside -10..+10, and
// every following write would stop at the curve check).
ModeRule modeRule(TriggerMode mode, bool offsetIsVersatz);

// Quick start has no multi-channel, waste-spark or crankshaft variant.
inline bool quickStartSet(const IgnitionRecord& r) {
  return (r.FlagsC & bits::kFlagsCQuickStart) != 0;
}

// The dialog's fields as the user left them (cylinders and strokes as shown,
// i.e. not yet halved for waste spark; the charge time in 0.1 ms).
struct BasicSettingsForm {
  int32_t cylinders = 4;
  int32_t strokes = 4;
  int32_t chargeTenths = 25;
  int32_t offset = 0;
  int32_t teeth = 60;
  int32_t gap = 2;
  TriggerMode mode = TriggerMode::Tdc;
  bool inductive = false;
  bool inverted = false;
  bool multiChannel = false;
  bool wasteSpark = false;
};

// Stores the form; bits the dialog does not show are kept. Then direct mode
// is re-evaluated (which may reset the curves). 0, or 8076 when a crankshaft
// wheel's teeth are no multiple of the sparks per revolution; nothing is
// stored then.
int32_t saveBasicSettings(IgnitionState& s, bool offsetIsVersatz, const BasicSettingsForm& f);

}  // namespace ignition
