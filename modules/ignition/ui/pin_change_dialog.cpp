#include "modules/ignition/ui/pin_change_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>

#include "modules/ignition/pin_change.h"
#include "shell/ui/dialog_rows.h"
#include "texts/ignition_text_ids.h"

namespace ignition {

namespace {

using D = PinChangeDialog;

constexpr shell::ControlRow kControls[] = {
    shell::textField(D::kNewPin, "neue PIN", 4),
    shell::checkBox(D::kLockIgnition, "Zünden sperren"),
    shell::okButton(D::kCommandOk, "Ok"),
    shell::cancelButton(D::kCommandCancel, "Abbruch"),
};

}  // namespace

PinChangeDialog::PinChangeDialog(DialogStack& stack, IgnitionState& state,
                                 buslink::ModuleLink& link, shell::UserPrompts& prompts,
                                 QWidget* parent)
    : IgnitionDialog(stack, parent),
      state_(state),
      link_(link),
      prompts_(prompts),
      table_(this, kControls, sender()) {
  setWindowTitle(QStringLiteral("PIN ändern"));
  setMinimumWidth(240);  // wide enough for its title
  table_.setChecked(kLockIgnition, (state_.record.FlagsB & bits::kFlagsBLocked) != 0);
  auto* grid = new QGridLayout(this);
  grid->addWidget(table_.caption(kNewPin), 0, 0);
  grid->addWidget(table_.control(kNewPin), 0, 1);
  grid->addWidget(table_.control(kLockIgnition), 1, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(table_.control(kCommandOk));
  buttons->addWidget(table_.control(kCommandCancel));
  grid->addLayout(buttons, 2, 0, 1, 2);
}

int32_t PinChangeDialog::handleCommand(int32_t command) {
  switch (command) {
    case kCommandOk:
      result_ = applyPinChange(state_, link_, prompts_, table_.field(kNewPin)->text().toStdString(),
                               table_.isChecked(kLockIgnition));
      // The PIN check has told its own refusals.
      if (result_ != 0 && result_ != texts::kTextWriteLocked) prompts_.showMessage(result_);
      accept();
      return 0;
    case kCommandCancel:
      link_.close();
      reject();
      return 0;
    default:
      return 1;
  }
}

}  // namespace ignition
