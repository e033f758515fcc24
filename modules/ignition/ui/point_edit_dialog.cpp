#include "modules/ignition/ui/point_edit_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "shell/ui/qt_edit_fields.h"
#include "shell/user_prompts.h"
#include "texts/text_ids.h"

namespace ignition {

PointEditDialog::PointEditDialog(DialogStack& stack, shell::UserPrompts& prompts,
                                 const CurveEditState& edit,
                                 std::span<const shell::ControlRow> controls, int32_t valueId,
                                 int32_t angleId, QWidget* parent)
    : IgnitionDialog(stack, parent),
      prompts_(prompts),
      edit_(edit),
      table_(this, controls, prompts, sender()),
      value_(table_.field(valueId)),
      angle_(table_.field(angleId)) {
  setWindowTitle(QStringLiteral("Kennlinie editieren"));
  if (edit_.index >= 0) {
    shell::setFieldNumber(value_, edit_.value);
    shell::setFieldNumber(angle_, edit_.angle);
  }

  auto* layout = new QGridLayout(this);
  layout->addWidget(value_, 0, 0);
  layout->addWidget(table_.caption(valueId), 0, 1);
  layout->addWidget(table_.control(kCommandOk), 0, 2);
  layout->addWidget(angle_, 1, 0);
  layout->addWidget(table_.caption(angleId), 1, 1);
  layout->addWidget(table_.control(kCommandCancel), 1, 2);
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
