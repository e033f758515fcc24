#pragma once

#include <cstdint>

#include "modules/ignition/ui/point_edit_dialog.h"

namespace ignition {

// "Kennlinie editieren" (3370): one point of a pressure curve. "Ok" closes
// once both fields are in range; a point the list cannot take (full, or the
// pressure already listed) is then refused with the list unchanged.
class PressureEditDialog : public PointEditDialog {
 public:
  static constexpr int32_t kKey = 3370;
  static constexpr int32_t kPressureField = 3371;
  static constexpr int32_t kAngleField = 3372;

  // `relativePressure`: the record's flag, in whose terms the list shows
  // its pressures.
  PressureEditDialog(DialogStack& stack, shell::UserPrompts& prompts, PressureList& list,
                     const CurveEditState& edit, bool relativePressure, QWidget* parent);

  QLineEdit* pressureField() const { return valueField(); }

 private:
  void ok() override;

  PressureList& list_;
  bool relative_;
};

}  // namespace ignition
