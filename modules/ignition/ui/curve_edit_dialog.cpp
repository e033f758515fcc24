#include "modules/ignition/ui/curve_edit_dialog.h"

#include "shell/ui/qt_edit_fields.h"
#include "shell/user_prompts.h"

namespace ignition {

namespace {

using D = CurveEditDialog;

// The ranges are checked on "Ok", the angle together with the curve shift
// (checkCurveEdit).
constexpr shell::ControlRow kControls[] = {
    shell::numberField(D::kRpmField, "1/min", 5, 8681),
    shell::numberField(D::kAngleField, "Grad", 3, 8698),
    shell::withFlags(shell::okButton(D::kCommandOk, "Ok"), shell::kAutoDefault),
    shell::withFlags(shell::cancelButton(D::kCommandCancel, "Abbruch"), shell::kAutoDefault),
};

}  // namespace

CurveEditDialog::CurveEditDialog(DialogStack& stack, shell::UserPrompts& prompts, CurveList& list,
                                 const CurveEditState& edit, int32_t offset, QWidget* parent)
    : PointEditDialog(stack, prompts, edit, kControls, kRpmField, kAngleField, parent),
      list_(list),
      offset_(offset) {}

void CurveEditDialog::ok() {
  const std::optional<int32_t> rpm = shell::fieldNumber(value_);
  const std::optional<int32_t> angle = shell::fieldNumber(angle_);
  const EditField failed = checkCurveEdit(rpm, angle, offset_);
  if (failed != EditField::None) {
    refuse(failed);
    return;
  }
  const int32_t status = applyCurveEdit(list_, edit_, *rpm, *angle);
  if (status != 0) {
    prompts_.showMessage(status);
    return;
  }
  accept();
}

}  // namespace ignition
