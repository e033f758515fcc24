#include "modules/ignition/curve_edit.h"

#include <string>

#include "texts/text_ids.h"

namespace ignition {

EditField checkCurveEdit(std::optional<int32_t> rpm, std::optional<int32_t> angle, int32_t offset) {
  if (!rpm || !kRpmEditRange.contains(*rpm)) return EditField::Value;
  if (!angle || !kRpmAngleRange.contains(*angle + offset)) return EditField::Angle;
  return EditField::None;
}

int32_t applyCurveEdit(CurveList& list, const CurveEditState& edit, int32_t rpm, int32_t angle) {
  const bool editing = edit.index >= 0 && edit.index < list.size();
  std::string old;
  if (editing) {
    old = list.entries()[static_cast<size_t>(edit.index)];
    list.removeAt(edit.index);
  }
  const int32_t status = list.addCurveEntry(rpm, angle);
  if (status != 0 && editing) list.addUnchecked(old);
  return status;
}

EditField checkPressureEdit(bool relativePressure, std::optional<int32_t> mBar,
                            std::optional<int32_t> angle) {
  const FieldRange& range = relativePressure ? kPressureRelativeRange : kPressureAbsoluteRange;
  if (!mBar || !range.contains(*mBar)) return EditField::Value;
  if (!angle || !kPressureAngleRange.contains(*angle)) return EditField::Angle;
  return EditField::None;
}

int32_t applyPressureEdit(PressureList& list, const CurveEditState& edit, int32_t mBar,
                          int32_t angle) {
  const bool editing = edit.index >= 0 && edit.index < list.size();
  std::string old;
  if (editing) {
    old = list.entries()[static_cast<size_t>(edit.index)];
    list.removeAt(edit.index);
  }
  if (list.insertPressureEntry(mBar, angle) == 0) return 0;
  if (editing) list.insertAt(edit.index, old);
  return texts::kTextParameterOutOfRange;
}

}  // namespace ignition
