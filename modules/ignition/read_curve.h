#pragma once

#include <cstdint>

#include "link/module_link.h"
#include "modules/ignition/curve_list.h"

namespace ignition {

// Reads an rpm curve (base 0x00 or 0x80) from the module into `list`, which
// is cleared first. Angles are stored with the curve shift `offset` added.
// The points a write appends above the limiter (`limiterByte`, 0 = none)
// are dropped, so that reading what was written gives back the list. 0 or
// the first link error.
int32_t readCurve(buslink::ModuleLink& link, uint8_t base, int32_t offset, uint8_t limiterByte,
                  CurveList& list);

}  // namespace ignition
