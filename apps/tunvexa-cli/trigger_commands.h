#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// "trigger analyse FILE [--teeth N] [--gap N]" and "trigger export FILE
// OUT.csv [--channel A|B|both]": args start after "trigger". FILE is a
// trigger data file, a raw text capture or a raw frame capture. 0 on
// success, -1 for a usage error (told on `err`), 2 when the analysis fails
// or the wheel found is not the one given, 1 for a file that cannot be read
// (told on `out`).
int32_t runTriggerCommand(const std::vector<std::string>& args, std::ostream& out,
                          std::ostream& err);

}  // namespace cli
