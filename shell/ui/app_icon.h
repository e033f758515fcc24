#pragma once

#include <QIcon>

namespace shell {

// The program's icon, drawn rather than loaded so that it needs no file: a
// spark on a dark-blue tile, in the small (16, 24 px) and big (32 px and up)
// sizes the window system asks for.
QIcon programIcon();

}  // namespace shell
