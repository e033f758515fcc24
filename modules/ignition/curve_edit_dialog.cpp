#include "modules/ignition/curve_edit_dialog.h"

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
    {CurveEditDialog::kRpmField, 8681},
    {CurveEditDialog::kAngleField, 8698},
};
}  // namespace

CurveEditDialog::CurveEditDialog(DialogStack& stack, shell::UserPrompts& prompts, CurveList& list,
                                 const CurveEditState& edit, int32_t offset, QWidget* parent)
    : IgnitionDialog(stack, parent), prompts_(prompts), list_(list), edit_(edit), offset_(offset) {
  setWindowTitle(QStringLiteral("Kennlinie editieren"));
  rpm_ = makeNumberField(this, kRpmField, 5);
  angle_ = makeNumberField(this, kAngleField, 3);
  if (edit_.index >= 0) {
    rpm_->setText(QString::number(edit_.value));
    angle_->setText(QString::number(edit_.angle));
  }
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setDefault(true);
  shell::setControlId(ok, kCommandOk);
  auto* cancel = new QPushButton(QStringLiteral("Abbruch"), this);
  shell::setControlId(cancel, kCommandCancel);
  sendOnClick(ok, kCommandOk);
  sendOnClick(cancel, kCommandCancel);

  auto* layout = new QGridLayout(this);
  layout->addWidget(rpm_, 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("1/min"), this), 0, 1);
  layout->addWidget(ok, 0, 2);
  layout->addWidget(angle_, 1, 0);
  layout->addWidget(new QLabel(QStringLiteral("Grad"), this), 1, 1);
  layout->addWidget(cancel, 1, 2);
  shell::createTooltips(this, kTooltips);
}

int32_t CurveEditDialog::handleCommand(int32_t command) {
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

void CurveEditDialog::ok() {
  const std::optional<int32_t> rpm = fieldNumber(rpm_);
  const std::optional<int32_t> angle = fieldNumber(angle_);
  const EditField failed = checkCurveEdit(rpm, angle, offset_);
  if (failed != EditField::None) {
    prompts_.showMessage(texts::kTextParameterOutOfRange);
    QLineEdit* field = failed == EditField::Value ? rpm_ : angle_;
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
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
