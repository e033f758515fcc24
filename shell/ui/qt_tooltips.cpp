#include "shell/ui/qt_tooltips.h"

#include <QLabel>
#include <QWidget>
#include <algorithm>

#include "shell/ui/qt_controls.h"
#include "shell/ui/qt_text.h"

namespace shell {

QString tooltipText(int32_t textId) {
  return textId == 0 ? QString() : qtText(textId);
}

int createTooltips(QWidget* dialog, std::span<const TooltipEntry> table) {
  // Tips show whether or not the window is the active one: a user who looks
  // at a field of the main window while a live window has the focus still
  // gets its range.
  dialog->window()->setAttribute(Qt::WA_AlwaysShowToolTips);
  int given = 0;
  for (QWidget* child : dialog->findChildren<QWidget*>()) {
    const int32_t id = controlId(child);
    if (id == 0 || qobject_cast<QLabel*>(child) != nullptr) continue;
    const auto row = std::find_if(table.begin(), table.end(),
                                  [id](const TooltipEntry& e) { return e.controlId == id; });
    child->setToolTip(row == table.end() ? QString() : tooltipText(row->textId));
    ++given;
  }
  return given;
}

}  // namespace shell
