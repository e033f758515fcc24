#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "link/module_link.h"

namespace cli {

// "firmware info FILE" and "firmware update FILE ...": args start after
// "firmware". 0 on success, -1 for a usage error (told on `err`), else the
// text ID of the first failure or 1 when it has been printed.
int32_t runFirmwareCommand(buslink::ModuleLink& link, const std::vector<std::string>& args,
                           std::ostream& out, std::ostream& err);

}  // namespace cli
