#pragma once

#include <QIcon>

namespace spark {

// The "Verbinden" button's two pictures: an unplugged connector while up,
// a plugged one in green while down.
QIcon connectIcon();

}  // namespace spark
