#include "modules/ignition/ui/vehicle_info_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "modules/ignition/vehicle_info.h"
#include "shell/ui/dialog_rows.h"
#include "shell/ui/qt_controls.h"

namespace ignition {

namespace {

using D = VehicleInfoDialog;

constexpr int kTyped = static_cast<int>(kVehicleInfoTypedChars);

constexpr shell::ControlRow kControls[] = {
    shell::textField(D::kMaker, "Hersteller", kTyped, 8644),
    shell::textField(D::kModel, "Typ", kTyped, 8646),
    shell::textField(D::kVariant, "Ausführung", kTyped, 8643),
    shell::okButton(D::kCommandOk, "OK"),
    shell::cancelButton(D::kCommandCancel, "Abbruch"),
};

QString qt(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

VehicleInfoDialog::VehicleInfoDialog(DialogStack& stack, IgnitionRecord& record, QWidget* parent)
    : IgnitionDialog(stack, parent),
      record_(record),
      table_(this, kControls, sender()),
      comment_(new QPlainTextEdit(this)) {
  setWindowTitle(QStringLiteral("Zündung Fahrzeug Info"));
  shell::setControlId(comment_, kComment);
  comment_->setToolTip(QString());
  comment_->setMinimumSize(320, 110);
  // The comment takes at most its buffer; typing beyond it is undone.
  connect(comment_, &QPlainTextEdit::textChanged, this, [this] {
    const QString text = comment_->toPlainText();
    if (text.size() + text.count(QLatin1Char('\n')) < static_cast<int>(kVehicleInfoCommentChars))
      return;
    QSignalBlocker block(comment_);
    comment_->undo();
  });

  const VehicleInfoForm form = vehicleInfoForm(record_);
  table_.field(kMaker)->setText(qt(form.maker));
  table_.field(kModel)->setText(qt(form.model));
  table_.field(kVariant)->setText(qt(form.variant));
  comment_->setPlainText(qt(form.comment));

  auto* grid = new QGridLayout(this);
  int row = 0;
  for (int32_t id : {kMaker, kModel, kVariant}) {
    grid->addWidget(table_.caption(id), row, 0);
    grid->addWidget(table_.control(id), row, 1);
    ++row;
  }
  grid->addWidget(new QLabel(QStringLiteral("Kommentar"), this), row, 0, Qt::AlignTop);
  grid->addWidget(comment_, row, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(table_.control(kCommandOk));
  buttons->addWidget(table_.control(kCommandCancel));
  grid->addLayout(buttons, row + 1, 0, 1, 2);
}

int32_t VehicleInfoDialog::handleCommand(int32_t command) {
  switch (command) {
    case kCommandOk: {
      VehicleInfoForm form;
      form.maker = table_.field(kMaker)->text().toStdString();
      form.model = table_.field(kModel)->text().toStdString();
      form.variant = table_.field(kVariant)->text().toStdString();
      form.comment = comment_->toPlainText().toStdString();
      takeVehicleInfo(record_, form);
      accept();
      return 0;
    }
    case kCommandCancel:
      reject();
      return 0;
    default:
      return 1;
  }
}

}  // namespace ignition
