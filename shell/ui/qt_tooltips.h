#pragma once

#include <QString>
#include <cstdint>
#include <span>

class QWidget;

namespace shell {

// One row of a page's tooltip table: control number -> text ID.
struct TooltipEntry {
  int32_t controlId;
  int32_t textId;
};

// Text ID 0 gives an empty tooltip.
QString tooltipText(int32_t textId);

// Gives every numbered control of `dialog` except static texts the tooltip
// of its row in `table` (a control without a row gets an empty one). Returns
// the number of controls that got a tooltip.
int createTooltips(QWidget* dialog, std::span<const TooltipEntry> table);

}  // namespace shell
