#include "modules/ignition/ui/point_edit_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "modules/ignition/ui/qt_edit_fields.h"
#include "shell/ui/qt_controls.h"
#include "shell/user_prompts.h"
#include "texts/text_ids.h"

namespace ignition {

PointEditDialog::PointEditDialog(DialogStack& stack, shell::UserPrompts& prompts,
                                 const CurveEditState& edit, const Fields& fields,
                                 std::span<const shell::TooltipEntry> tooltips, QWidget* parent)
    : IgnitionDialog(stack, parent), prompts_(prompts), edit_(edit) {
  setWindowTitle(QStringLiteral("Kennlinie editieren"));
  value_ = makeNumberField(this, fields.valueId, fields.valueLength);
  angle_ = makeNumberField(this, fields.angleId, 3);
  if (edit_.index >= 0) {
    setFieldNumber(value_, edit_.value);
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
  layout->addWidget(value_, 0, 0);
  layout->addWidget(new QLabel(QString::fromUtf8(fields.valueUnit), this), 0, 1);
  layout->addWidget(ok, 0, 2);
  layout->addWidget(angle_, 1, 0);
  layout->addWidget(new QLabel(QStringLiteral("Grad"), this), 1, 1);
  layout->addWidget(cancel, 1, 2);
  shell::createTooltips(this, tooltips);
}

int32_t PointEditDialog::handleCommand(int32_t command) {
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

void PointEditDialog::refuse(EditField failed) {
  prompts_.showMessage(texts::kTextParameterOutOfRange);
  QLineEdit* field = failed == EditField::Value ? value_ : angle_;
  field->setFocus(Qt::OtherFocusReason);
  field->selectAll();
}

}  // namespace ignition
