#pragma once

#include <cstdint>
#include <optional>

class QLineEdit;
class QWidget;

namespace shell {

// A numbered edit field that takes at most `maxLength` characters and is
// sized for them (and a sign).
QLineEdit* makeNumberField(QWidget* parent, int32_t controlId, int maxLength);
// A numbered edit field for text; sized for `maxLength` characters, or as
// wide as the layout makes it when 0 (no limit then either).
QLineEdit* makeTextField(QWidget* parent, int32_t controlId, int maxLength);
// The field's whole number; nullopt for text that is no number.
std::optional<int32_t> fieldNumber(const QLineEdit* field);
void setFieldNumber(QLineEdit* field, int32_t value);

}  // namespace shell
