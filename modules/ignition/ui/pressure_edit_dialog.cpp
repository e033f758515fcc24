#include "modules/ignition/ui/pressure_edit_dialog.h"

#include "shell/ui/qt_edit_fields.h"
#include "shell/user_prompts.h"

namespace ignition {

namespace {

using D = PressureEditDialog;

// The ranges are checked on "Ok", the pressure's by the record's relative
// flag (checkPressureEdit).
constexpr shell::ControlRow kControls[] = {
    shell::numberField(D::kPressureField, "mBar", 4, 8625),
    shell::numberField(D::kAngleField, "Grad", 3, 8626),
    shell::withFlags(shell::okButton(D::kCommandOk, "Ok"), shell::kAutoDefault),
    shell::withFlags(shell::cancelButton(D::kCommandCancel, "Abbruch"), shell::kAutoDefault),
};

}  // namespace

PressureEditDialog::PressureEditDialog(DialogStack& stack, shell::UserPrompts& prompts,
                                       PressureList& list, const CurveEditState& edit,
                                       bool relativePressure, QWidget* parent)
    : PointEditDialog(stack, prompts, edit, kControls, kPressureField, kAngleField, parent),
      list_(list),
      relative_(relativePressure) {}

void PressureEditDialog::ok() {
  const std::optional<int32_t> mBar = shell::fieldNumber(value_);
  const std::optional<int32_t> angle = shell::fieldNumber(angle_);
  const EditField failed = checkPressureEdit(relative_, mBar, angle);
  if (failed != EditField::None) {
    refuse(failed);
    return;
  }
  accept();
  const int32_t status = applyPressureEdit(list_, edit_, *mBar, *angle);
  if (status != 0) prompts_.showMessage(status);
}

}  // namespace ignition
