#pragma once

#include <cstdint>
#include <iosfwd>

#include "modules/loggers/conversion.h"

namespace loggers {

// Converts the lambda display's log into the text (or CSV) of engine speed
// and lambda. Blocks are taken from the start while they are in use; each
// is copied unchanged to `dump` (may be null). The stream parser is carried
// from block to block, so a speed record may continue in the next block,
// and starts afresh with every call. 0, 8007 when the input fails, 8008
// when an output cannot be written.
int32_t convertLambdaLog(std::istream& in, std::ostream& out, std::ostream* dump,
                         const ConversionOptions& options, ConversionCounts* counts = nullptr);

}  // namespace loggers
