#pragma once

#include <cstdint>
#include <span>

#include "modules/ignition/curve_edit.h"
#include "modules/ignition/ui/ignition_dialog.h"
#include "shell/ui/dialog_table.h"

class QLineEdit;

namespace shell {
class UserPrompts;
}

namespace ignition {

// The two-field editor that both curve kinds use ("Kennlinie editieren"):
// a value with its unit, an angle in degrees, "Ok" and "Abbruch". The
// subclasses declare the controls and decide what "Ok" checks and stores.
class PointEditDialog : public IgnitionDialog {
 public:
  int32_t handleCommand(int32_t command) override;

  QLineEdit* valueField() const { return value_; }
  QLineEdit* angleField() const { return angle_; }

 protected:
  // `controls`: the value field (its caption is the unit), the angle field,
  // "Ok" and "Abbruch". Both fields are checked on "Ok" only.
  PointEditDialog(DialogStack& stack, shell::UserPrompts& prompts, const CurveEditState& edit,
                  std::span<const shell::ControlRow> controls, int32_t valueId, int32_t angleId,
                  QWidget* parent);

  virtual void ok() = 0;
  // Tells the user and puts the focus on the field that failed its check.
  void refuse(EditField failed);

  shell::UserPrompts& prompts_;
  CurveEditState edit_;
  shell::DialogTable table_;
  QLineEdit* value_;
  QLineEdit* angle_;
};

}  // namespace ignition
