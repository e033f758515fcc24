#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "modules/loggers/vehicle_data.h"

namespace loggers {

// Reads the car logger's vehicle file ("[CarLogger]", then every tag in its
// fixed order). 0 with `data` filled; 8043 when the file cannot be opened,
// 8059 when it is no car logger file, 8015 for a missing tag, a value that
// cannot be read or a curve of more than 18 lines. `data` is only changed
// on success.
int32_t readVehicleFile(const std::string& path, VehicleData& data);

// C "%lf" without the locale: leading blanks, optional sign, then a decimal
// number; anything after it is ignored.
std::optional<double> scanDouble(std::string_view text);

}  // namespace loggers
