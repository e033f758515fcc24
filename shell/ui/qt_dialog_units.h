#pragma once

#include <QSize>

class QWidget;

namespace shell {

// Pixels for a size given in dialog units of the widget's font (a quarter of
// the average character width, an eighth of the line height), so that the
// dialogs keep their proportions whatever font the desktop uses.
QSize dialogUnits(const QWidget* widget, int width, int height);

}  // namespace shell
