#include "modules/ignition/ui/qt_edit_fields.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "modules/ignition/field_number.h"
#include "shell/ui/qt_controls.h"

namespace ignition {

QLineEdit* makeNumberField(QWidget* parent, int32_t controlId, int maxLength) {
  auto* field = new QLineEdit(parent);
  shell::setControlId(field, controlId);
  // Limits typing only: setMaxLength would also cut values the program
  // puts in (-1000 mBar shown as -100), which would then pass their check.
  field->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("^.{0,%1}$").arg(maxLength)), field));
  const QFontMetrics metrics(field->font());
  // Room for the digits (and a sign) plus the frame.
  field->setFixedWidth(metrics.horizontalAdvance(QString(maxLength + 1, QLatin1Char('0'))) + 14);
  return field;
}

std::optional<int32_t> fieldNumber(const QLineEdit* field) {
  return parseFieldNumber(field->text().toStdString());
}

void setFieldNumber(QLineEdit* field, int32_t value) {
  field->setText(QString::number(value));
}

}  // namespace ignition
