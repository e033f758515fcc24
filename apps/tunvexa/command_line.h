#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tunvexa {

struct Options {
  bool help = false;
  std::optional<int> comPort;     // --com N
  std::string error;              // not empty: the arguments were not understood
  std::vector<std::string> rest;  // left for Qt (-platform, ...)
};

Options parseCommandLine(int argc, char** argv);
const char* usageText();

}  // namespace tunvexa
