#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QLineEdit;
class QWidget;

namespace ignition {

// A numbered edit field that takes at most `maxLength` characters and is
// sized for them.
QLineEdit* makeNumberField(QWidget* parent, int32_t controlId, int maxLength);
// The field's whole number; nullopt for text that is no number.
std::optional<int32_t> fieldNumber(const QLineEdit* field);
void setFieldNumber(QLineEdit* field, int32_t value);

}  // namespace ignition
