#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// "firmware info FILE": args start after "firmware". 0 on success, -1 for a
// usage error (told on `err`), else the text ID of the first failure.
int32_t runFirmwareCommand(const std::vector<std::string>& args, std::ostream& out,
                           std::ostream& err);

}  // namespace cli
