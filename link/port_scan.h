#pragma once

#include <cstdint>
#include <vector>

#include "link/module_link.h"

namespace buslink {

// The COM ports 1-99 that open at the moment, in ascending order. The link's
// port is closed first and its port number is the same afterwards.
std::vector<int32_t> openablePorts(ModuleLink& link);

}  // namespace buslink
