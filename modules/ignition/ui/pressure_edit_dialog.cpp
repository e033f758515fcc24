#include "modules/ignition/ui/pressure_edit_dialog.h"

#include "modules/ignition/ui/qt_edit_fields.h"
#include "shell/user_prompts.h"

namespace ignition {

namespace {
constexpr shell::TooltipEntry kTooltips[] = {
    {PressureEditDialog::kPressureField, 8625},
    {PressureEditDialog::kAngleField, 8626},
};
}  // namespace

PressureEditDialog::PressureEditDialog(DialogStack& stack, shell::UserPrompts& prompts,
                                       PressureList& list, const CurveEditState& edit,
                                       bool relativePressure, QWidget* parent)
    : PointEditDialog(stack, prompts, edit, {kPressureField, 4, "mBar", kAngleField}, kTooltips,
                      parent),
      list_(list),
      relative_(relativePressure) {}

void PressureEditDialog::ok() {
  const std::optional<int32_t> mBar = fieldNumber(value_);
  const std::optional<int32_t> angle = fieldNumber(angle_);
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
