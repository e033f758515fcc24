#pragma once

#include <cstdint>

class QLineEdit;

namespace shell {

// Fixed-point numbers in edit fields, shown and typed with a decimal comma.
void setFixedField(QLineEdit* field, uint32_t value, int decimals);
// Reads at most the first 9 characters of the field; no number gives 0.
int32_t getFixedField(const QLineEdit* field, int decimals);

}  // namespace shell
