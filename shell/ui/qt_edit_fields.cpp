#include "shell/ui/qt_edit_fields.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "shell/field_number.h"
#include "shell/ui/qt_controls.h"

namespace shell {

namespace {

QLineEdit* makeField(QWidget* parent, int32_t controlId, int maxLength, int widthCharacters) {
  auto* field = new QLineEdit(parent);
  setControlId(field, controlId);
  if (maxLength > 0) {
    // Limits typing only: setMaxLength would also cut values the program
    // puts in (-1000 mBar shown as -100), which would then pass their check.
    field->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^.{0,%1}$").arg(maxLength)), field));
  }
  if (widthCharacters > 0) {
    const QFontMetrics metrics(field->font());
    // Room for the characters plus the frame.
    field->setFixedWidth(metrics.horizontalAdvance(QString(widthCharacters, QLatin1Char('0'))) +
                         14);
  }
  return field;
}

}  // namespace

QLineEdit* makeNumberField(QWidget* parent, int32_t controlId, int maxLength) {
  return makeField(parent, controlId, maxLength, maxLength + 1);
}

QLineEdit* makeTextField(QWidget* parent, int32_t controlId, int maxLength) {
  return makeField(parent, controlId, maxLength, maxLength);
}

std::optional<int32_t> fieldNumber(const QLineEdit* field) {
  return parseFieldNumber(field->text().toStdString());
}

void setFieldNumber(QLineEdit* field, int32_t value) {
  field->setText(QString::number(value));
}

}  // namespace shell
