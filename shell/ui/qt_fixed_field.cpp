#include "shell/ui/qt_fixed_field.h"

#include <QLineEdit>

#include "shell/value_fields.h"

namespace shell {

namespace {
constexpr qsizetype kFieldCharacters = 9;
}

void setFixedField(QLineEdit* field, uint32_t value, int decimals) {
  field->setText(QString::fromStdString(formatFixed(value, decimals)));
}

int32_t getFixedField(const QLineEdit* field, int decimals) {
  return parseFixed(field->text().left(kFieldCharacters).toStdString(), decimals);
}

}  // namespace shell
