#include "apps/tunvexa/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace tunvexa {

Options parseCommandLine(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--com") {
      if (i + 1 >= argc) {
        options.error = "--com needs a port number";
        return options;
      }
      const char* value = argv[++i];
      char* end = nullptr;
      errno = 0;
      const long port = std::strtol(value, &end, 10);
      if (end == value || *end != '\0' || errno != 0 || port < 1 || port > 99) {
        options.error = std::string("--com wants a number from 1 to 99, not ") + value;
        return options;
      }
      options.comPort = static_cast<int>(port);
    } else {
      options.rest.emplace_back(arg);
    }
  }
  return options;
}

const char* usageText() {
  return "Usage: tunvexa [--com N] [Qt options]\n"
         "\n"
         "The workshop and tuning program for the modules on the vehicle bus.\n"
         "\n"
         "  --com N   use COM port N (1-99) and store it as the key ComPort of the\n"
         "            settings file, as if it had been chosen on the Extras page\n"
         "            (for example to reach a tunvexa-sim started with --com N)\n"
         "  --help    show this text and exit\n"
         "\n"
         "COM N is the link comN in $XDG_CONFIG_HOME/ZEB/ports/ when it exists,\n"
         "else the machine's serial device numbered N.\n";
}

}  // namespace tunvexa
