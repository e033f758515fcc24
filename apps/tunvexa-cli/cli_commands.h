#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "link/module_link.h"

namespace cli {

// What a command hands back: 0 or the text ID of the failure.
struct Outcome {
  int32_t status = 0;
};

// Runs one command (its name and arguments) over the link and prints its
// result to `out`. Usage errors are reported through `err` with status -1.
int32_t runCommand(buslink::ModuleLink& link, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err);

// Accepts decimal and 0x hex; false for anything else or a value outside
// 0..max.
bool parseNumber(const std::string& text, uint32_t max, uint32_t& value);

extern const char* const kUsage;

}  // namespace cli
