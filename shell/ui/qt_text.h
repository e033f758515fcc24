#pragma once

#include <QString>
#include <cstdint>

namespace shell {

// A text of the text table as a QString (empty for an unknown ID).
QString qtText(int32_t textId);

}  // namespace shell
