#pragma once

#include <cstdint>

#include "modules/ignition/curve_edit.h"
#include "modules/ignition/ignition_dialog.h"

class QLineEdit;

namespace shell {
class UserPrompts;
}

namespace ignition {

// "Kennlinie editieren" (3370): one point of a pressure curve. "Ok" closes
// once both fields are in range; a point the list cannot take (full, or the
// pressure already listed) is then refused with the list unchanged.
class PressureEditDialog : public IgnitionDialog {
 public:
  static constexpr int32_t kKey = 3370;
  static constexpr int32_t kPressureField = 3371;
  static constexpr int32_t kAngleField = 3372;

  // `relativePressure`: the record's flag, in whose terms the list shows
  // its pressures.
  PressureEditDialog(DialogStack& stack, shell::UserPrompts& prompts, PressureList& list,
                     const CurveEditState& edit, bool relativePressure, QWidget* parent);

  int32_t handleCommand(int32_t command) override;

  QLineEdit* pressureField() const { return pressure_; }
  QLineEdit* angleField() const { return angle_; }

 private:
  void ok();

  shell::UserPrompts& prompts_;
  PressureList& list_;
  CurveEditState edit_;
  bool relative_;
  QLineEdit* pressure_;
  QLineEdit* angle_;
};

}  // namespace ignition
