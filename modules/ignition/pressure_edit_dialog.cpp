#include "modules/ignition/pressure_edit_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "modules/ignition/qt_edit_fields.h"
#include "shell/qt_controls.h"
#include "shell/qt_tooltips.h"
#include "shell/user_prompts.h"
#include "texts/text_ids.h"

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
    : IgnitionDialog(stack, parent),
      prompts_(prompts),
      list_(list),
      edit_(edit),
      relative_(relativePressure) {
  setWindowTitle(QStringLiteral("Kennlinie editieren"));
  pressure_ = makeNumberField(this, kPressureField, 4);
  angle_ = makeNumberField(this, kAngleField, 3);
  if (edit_.index >= 0) {
    setFieldNumber(pressure_, edit_.value);
    setFieldNumber(angle_, edit_.angle);
  }
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setDefault(true);
  shell::setControlId(ok, kCommandOk);
  auto* cancel = new QPushButton(QStringLiteral("Abbruch"), this);
  shell::setControlId(cancel, kCommandCancel);
  sendOnClick(ok, kCommandOk);
  sendOnClick(cancel, kCommandCancel);

  auto* layout = new QGridLayout(this);
  layout->addWidget(pressure_, 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("mBar"), this), 0, 1);
  layout->addWidget(ok, 0, 2);
  layout->addWidget(angle_, 1, 0);
  layout->addWidget(new QLabel(QStringLiteral("Grad"), this), 1, 1);
  layout->addWidget(cancel, 1, 2);
  shell::createTooltips(this, kTooltips);
}

int32_t PressureEditDialog::handleCommand(int32_t command) {
  if (command == kCommandOk) {
    ok();
    return 0;
  }
  if (command == kCommandCancel) {
    reject();
    return 0;
  }
  return 1;
}

void PressureEditDialog::ok() {
  const std::optional<int32_t> mBar = fieldNumber(pressure_);
  const std::optional<int32_t> angle = fieldNumber(angle_);
  const EditField failed = checkPressureEdit(relative_, mBar, angle);
  if (failed != EditField::None) {
    prompts_.showMessage(texts::kTextParameterOutOfRange);
    QLineEdit* field = failed == EditField::Value ? pressure_ : angle_;
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return;
  }
  accept();
  const int32_t status = applyPressureEdit(list_, edit_, *mBar, *angle);
  if (status != 0) prompts_.showMessage(status);
}

}  // namespace ignition
