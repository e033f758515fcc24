#pragma once

#include <cstdint>

class QWidget;

namespace shell {

// Controls carry the numbers that the page tables use (tooltips, checks), so
// the code and the tests can name them the same way.
void setControlId(QWidget* control, int32_t id);
// 0 for a widget without a number.
int32_t controlId(const QWidget* control);
// The child of `dialog` with the number, or nullptr.
QWidget* findControl(const QWidget* dialog, int32_t id);

// Checks the box when flag is non-zero, else unchecks it.
void setCheck(QWidget* dialog, int32_t control, int32_t flag);
// 1 only for a checked box.
int32_t isChecked(const QWidget* dialog, int32_t control);

}  // namespace shell
