#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "link/module_link.h"

namespace cli {

// "firmware update FILE [--yes] [--passive] [--serial N] [--type N]
// [--backup]": args start after "update". 0 only after "Programmierung
// erfolgreich beendet."; -1 for a usage error; kReported when a failure
// has been printed.
int32_t runFirmwareUpdate(buslink::ModuleLink& link, const std::vector<std::string>& args,
                          std::ostream& out, std::ostream& err);

}  // namespace cli
