#include "modules/ignition/ui/pin_entry_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>

#include "modules/ignition/pin_check.h"
#include "shell/ui/dialog_rows.h"
#include "texts/ignition_text_ids.h"

namespace ignition {

namespace {

using D = PinEntryDialog;

constexpr shell::ControlRow kControls[] = {
    shell::textField(D::kPin, "PIN", 4),
    shell::okButton(D::kCommandOk, "Ok"),
    shell::cancelButton(D::kCommandCancel, "Abbruch"),
};

}  // namespace

PinEntryDialog::PinEntryDialog(DialogStack& stack, IgnitionRecord& record,
                               buslink::ModuleLink& link, shell::UserPrompts& prompts,
                               QWidget* parent)
    : IgnitionDialog(stack, parent),
      record_(record),
      link_(link),
      prompts_(prompts),
      table_(this, kControls, sender()),
      status_(texts::kTextWriteLocked) {
  setWindowTitle(QStringLiteral("PIN eingeben"));
  setMinimumWidth(240);  // wide enough for its title
  table_.field(kPin)->setEchoMode(QLineEdit::Password);
  auto* grid = new QGridLayout(this);
  grid->addWidget(table_.caption(kPin), 0, 0);
  grid->addWidget(table_.control(kPin), 0, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(table_.control(kCommandOk));
  buttons->addWidget(table_.control(kCommandCancel));
  grid->addLayout(buttons, 1, 0, 1, 2);
}

int32_t PinEntryDialog::handleCommand(int32_t command) {
  switch (command) {
    case kCommandOk: {
      const PinTry t =
          enterPinOnce(record_, link_, prompts_, table_.field(kPin)->text().toStdString());
      if (t.status == kPinTryAgain) {
        QMessageBox::information(this, QStringLiteral("PIN-Fehler"),
                                 QStringLiteral("noch %1 Versuche!").arg(t.triesLeft));
        table_.field(kPin)->clear();
        return 0;
      }
      status_ = t.status;
      accept();
      return 0;
    }
    case kCommandCancel:
      link_.close();
      status_ = texts::kTextWriteLocked;
      reject();
      return 0;
    default:
      return 1;
  }
}

}  // namespace ignition
