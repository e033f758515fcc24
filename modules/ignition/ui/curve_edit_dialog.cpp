#include "modules/ignition/ui/curve_edit_dialog.h"

#include "modules/ignition/ui/qt_edit_fields.h"
#include "shell/user_prompts.h"

namespace ignition {

namespace {
constexpr shell::TooltipEntry kTooltips[] = {
    {CurveEditDialog::kRpmField, 8681},
    {CurveEditDialog::kAngleField, 8698},
};
}  // namespace

CurveEditDialog::CurveEditDialog(DialogStack& stack, shell::UserPrompts& prompts, CurveList& list,
                                 const CurveEditState& edit, int32_t offset, QWidget* parent)
    : PointEditDialog(stack, prompts, edit, {kRpmField, 5, "1/min", kAngleField}, kTooltips,
                      parent),
      list_(list),
      offset_(offset) {}

void CurveEditDialog::ok() {
  const std::optional<int32_t> rpm = fieldNumber(value_);
  const std::optional<int32_t> angle = fieldNumber(angle_);
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
