#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "link/module_link.h"

namespace cli {

// "KIND read --out FILE", "KIND write --in FILE", "KIND test",
// "KIND show --in FILE" for the display modules (bar, gear, tank, shift,
// poti, oil, stopwatch, rally); args start with KIND. The bar display takes
// its serial number from the file or from --serial N. 0 on success, -1 for a
// usage error (told on `err`), else 1 (the failure was printed).
int32_t runDisplayCommand(buslink::ModuleLink& link, const std::vector<std::string>& args,
                          std::ostream& out, std::ostream& err);

bool isDisplayCommand(const std::string& name);

}  // namespace cli
