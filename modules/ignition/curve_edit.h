#pragma once

#include <cstdint>
#include <optional>

#include "modules/ignition/curve_list.h"
#include "modules/ignition/ignition_record.h"
#include "shell/field_number.h"

// Editing one entry of an rpm curve ("Kennlinie editieren", 3100) or of a
// pressure curve (3370): the checks of the two fields and the replacement
// of the entry, which gives the list back unchanged when it is refused.
namespace ignition {

// The edit-field numbers every dialog shares.
using shell::FieldRange;
using shell::parseFieldNumber;

// The entry being edited: its value (rpm or mBar), angle and list index;
// index -1 = a new entry.
struct CurveEditState {
  int32_t value = 0;
  int32_t angle = 0;
  int index = -1;
};

// The field a failed check sends the focus back to.
enum class EditField { None, Value, Angle };

constexpr FieldRange kRpmEditRange{150, 12500};
// The angle the module fires at, i.e. including the curve shift.
constexpr FieldRange kRpmAngleRange{-40, 40};
constexpr FieldRange kPressureAbsoluteRange{0, 2500};
constexpr FieldRange kPressureRelativeRange{-990, 1500};
constexpr FieldRange kPressureAngleRange{-20, 20};
// Pressure sensor factor and offset (dialog 156).
constexpr FieldRange kSensorFactorRange{70, 510};
constexpr FieldRange kSensorOffsetRange{5, 130};

// A missing number fails like a number out of range.
EditField checkCurveEdit(std::optional<int32_t> rpm, std::optional<int32_t> angle, int32_t offset);
// Replaces the edited entry (or adds a new one). 0; or 8025 / 8011 with the
// list as it was.
int32_t applyCurveEdit(CurveList& list, const CurveEditState& edit, int32_t rpm, int32_t angle);

EditField checkPressureEdit(bool relativePressure, std::optional<int32_t> mBar,
                            std::optional<int32_t> angle);
// 0; or 8045 (list full or pressure present) with the list as it was.
int32_t applyPressureEdit(PressureList& list, const CurveEditState& edit, int32_t mBar,
                          int32_t angle);

}  // namespace ignition
