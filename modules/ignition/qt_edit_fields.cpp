#include "modules/ignition/qt_edit_fields.h"

#include <QFontMetrics>
#include <QLineEdit>

#include "modules/ignition/field_number.h"
#include "shell/qt_controls.h"

namespace ignition {

QLineEdit* makeNumberField(QWidget* parent, int32_t controlId, int maxLength) {
  auto* field = new QLineEdit(parent);
  shell::setControlId(field, controlId);
  field->setMaxLength(maxLength);
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
