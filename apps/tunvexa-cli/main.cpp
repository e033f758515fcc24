// tunvexa-cli: the module link from the command line, for diagnostics and
// scripts.
#include <iostream>
#include <string>
#include <vector>

#include "cli_commands.h"
#include "shell/settings_file.h"
#include "texts/text_table.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << cli::kUsage;
    return 0;
  }
  int32_t port = 0;
  if (!args.empty() && args[0] == "--com") {
    uint32_t n = 0;
    if (args.size() < 2 || !cli::parseNumber(args[1], 99, n) || n < 1) {
      std::cerr << "tunvexa-cli: --com needs a port number 1-99\n\n" << cli::kUsage;
      return 2;
    }
    port = static_cast<int32_t>(n);
    args.erase(args.begin(), args.begin() + 2);
  } else {
    // The GUI's rule: the settings file's ComPort, 1 when it is missing or
    // outside 1-99.
    shell::SettingsFile settings;
    port = settings.getInt("ComPort", 1);
    if (port < 1 || port > 99) port = 1;
  }

  buslink::ModuleLink link;
  link.setPortNumber(port);
  link.setMessageHook([](int32_t id) { std::cout << texts::text(id) << "\n"; });
  int32_t status = cli::runCommand(link, args, std::cout, std::cerr);
  link.close();
  if (status == -1) return 2;
  if (status != 0) {
    std::string_view message = texts::text(status);
    if (!message.empty()) std::cout << message << "\n";
    return 2;
  }
  return 0;
}
