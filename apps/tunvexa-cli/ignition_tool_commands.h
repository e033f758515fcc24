#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "link/module_link.h"

namespace cli {

// "ignition pin set NEW [--pin OLD] [--lock on|off]",
// "ignition info --in FILE [--set FIELD=TEXT ... --out FILE]",
// "ignition channels --in FILE": args start with "pin", "info" or
// "channels". 0 on success, -1 for a usage error, else kReported.
int32_t runIgnitionToolCommand(buslink::ModuleLink& link, const std::vector<std::string>& args,
                               std::ostream& out, std::ostream& err);

}  // namespace cli
