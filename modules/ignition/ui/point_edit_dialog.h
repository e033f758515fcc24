#pragma once

#include <cstdint>
#include <span>

#include "modules/ignition/curve_edit.h"
#include "modules/ignition/ui/ignition_dialog.h"
#include "shell/ui/qt_tooltips.h"

class QLineEdit;
class QString;

namespace shell {
class UserPrompts;
}

namespace ignition {

// The two-field editor that both curve kinds use ("Kennlinie editieren"):
// a value with its unit, an angle in degrees, "Ok" and "Abbruch". The
// subclasses decide what "Ok" checks and stores.
class PointEditDialog : public IgnitionDialog {
 public:
  int32_t handleCommand(int32_t command) override;

  QLineEdit* valueField() const { return value_; }
  QLineEdit* angleField() const { return angle_; }

 protected:
  struct Fields {
    int32_t valueId;
    int valueLength;
    const char* valueUnit;
    int32_t angleId;
  };
  PointEditDialog(DialogStack& stack, shell::UserPrompts& prompts, const CurveEditState& edit,
                  const Fields& fields, std::span<const shell::TooltipEntry> tooltips,
                  QWidget* parent);

  virtual void ok() = 0;
  // Tells the user and puts the focus on the field that failed its check.
  void refuse(EditField failed);

  shell::UserPrompts& prompts_;
  CurveEditState edit_;
  QLineEdit* value_;
  QLineEdit* angle_;
};

}  // namespace ignition
