#pragma once

#include <cstdint>

#include "modules/ignition/ui/point_edit_dialog.h"

namespace ignition {

// "Kennlinie editieren" (3100): one entry of an rpm curve. "Ok" replaces the
// entry in the list (or adds a new one) and closes; a refused value leaves
// the list as it was and the dialog open.
class CurveEditDialog : public PointEditDialog {
 public:
  static constexpr int32_t kKey = 3100;
  static constexpr int32_t kRpmField = 3101;
  static constexpr int32_t kAngleField = 3102;

  // `list` is the active curve; `edit` the page's edit state (index -1 and
  // empty fields for a new entry); `offset` the curve shift.
  CurveEditDialog(DialogStack& stack, shell::UserPrompts& prompts, CurveList& list,
                  const CurveEditState& edit, int32_t offset, QWidget* parent);

  QLineEdit* rpmField() const { return valueField(); }

 private:
  void ok() override;

  CurveList& list_;
  int32_t offset_;
};

}  // namespace ignition
