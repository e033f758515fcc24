#pragma once

#include <cstdint>
#include <iosfwd>

#include "modules/loggers/conversion.h"
#include "modules/loggers/vehicle_data.h"

namespace loggers {

// Converts a car logger's log (512-byte data and stream blocks) into the
// tab-separated text (or CSV) with physical units. Every non-empty block is
// also copied unchanged to `rawCopy`; the date and time of every stream
// block also go to `sideFile` (both may be null). Each call starts from a
// fresh state: no gap, speed or stream timer of an earlier conversion
// reaches this one, so the output depends on the input alone.
// 0, 8007 when the input fails, 8008 when an output cannot be written.
int32_t convertCarLog(std::istream& in, const VehicleData& vehicle, std::ostream& out,
                      std::ostream* rawCopy, std::ostream* sideFile,
                      const ConversionOptions& options, ConversionCounts* counts = nullptr);

}  // namespace loggers
