// The command lines of tunvexa-cli (apps/tunvexa-cli/cli_commands.h), run
// against the in-process bus simulator. The input has up to three parts,
// separated by NUL bytes (which no argument can hold):
//   the arguments after "tunvexa-cli --com N", one per line;
//   a scenario file for the simulator (none, or one that does not parse:
//   the default bus with one ignition);
//   the settings file that "--in in.Ignar" names (none: a freshly saved one).
// Every file an argument names is kept inside the private folder. Checked:
// every command returns, a usage error is told, and every other failure
// has a text the program can print.
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "apps/tunvexa-cli/cli_commands.h"
#include "apps/tunvexa-cli/ignition_commands.h"
#include "fuzz/fuzz_support.h"
#include "link/module_link.h"
#include "modules/ignition/ignition_file.h"
#include "modules/ignition/ignition_state.h"
#include "sim/bus.h"
#include "sim/scenario_parser.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"
#include "texts/text_table.h"

using fuzz_support::inFolder;

namespace {

std::vector<std::string_view> splitParts(std::string_view input) {
  std::vector<std::string_view> parts;
  for (;;) {
    const size_t nul = input.find('\0');
    parts.push_back(input.substr(0, nul));
    if (nul == std::string_view::npos || parts.size() == 3) return parts;
    input.remove_prefix(nul + 1);
  }
}

// One argument per line; a last line end ends the last argument.
std::vector<std::string> splitArguments(std::string_view text) {
  std::vector<std::string> args;
  if (text.empty()) return args;
  if (text.back() == '\n') text.remove_suffix(1);
  size_t start = 0;
  for (;;) {
    const size_t lf = text.find('\n', start);
    args.emplace_back(text.substr(start, lf == std::string_view::npos ? lf : lf - start));
    if (lf == std::string_view::npos) return args;
    start = lf + 1;
  }
}

// A file name from the command line, as a file in the private folder.
std::string privateFile(const std::string& name) {
  std::string safe = "f";
  for (char c : name.substr(0, 40)) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '_' || c == '-';
    safe += plain ? c : '_';
  }
  return inFolder("cli/" + safe);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::isolateUserFolders();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string_view> parts = splitParts(fuzz_support::asText(data, size));
  std::vector<std::string> args = splitArguments(parts[0]);
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i - 1] == "--in" || args[i - 1] == "--out") args[i] = privateFile(args[i]);
  }

  // The update talks to the bootloader through a port of its own, a real
  // one, which has no place in here; its end-to-end tests cover it.
  if (args.size() >= 2 && args[0] == "firmware" && args[1] == "update") return 0;
  // Preparing a card writes a file of up to a gigabyte, and a long live
  // display only repeats itself: neither finds anything here.
  if (args.size() >= 2 && args[1] == "prepare") return 0;
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "--count" && args[i + 1].size() > 2) return 0;
  }

  fuzz_support::freshFolder(inFolder("cli"));
  if (parts.size() == 3) {
    fuzz_support::writeFile(privateFile("in.Ignar"), parts[2]);
  } else {
    ignition::IgnitionState state;
    ignition::initialiseState(state);
    fuzz_support::writeFile(privateFile("in.Ignar"), ignition::ignitionFileText(state));
  }

  sim::Scenario scenario;
  if (parts.size() >= 2) {
    sim::ScenarioResult parsed = sim::parseScenario(parts[1]);
    if (parsed.scenario) scenario = std::move(*parsed.scenario);
  }
  sim::Bus bus(scenario);
  sim::VirtualClock clock;
  std::ostringstream out, err;
  int32_t status = 0;
  {
    buslink::ModuleLink link(std::make_unique<sim::SimDevice>(bus, clock), clock);
    link.setPortNumber(1);
    link.setMessageHook([&out](int32_t id) { out << texts::text(id) << "\n"; });
    status = cli::runCommand(link, args, out, err);
    link.close();
  }

  if (status == -1) {
    FUZZ_CHECK(!err.str().empty(), "a usage error without a message");
  } else if (status != 0 && status != cli::kReported) {
    FUZZ_CHECK(!texts::text(status).empty(),
               "status " + std::to_string(status) + " has no text to print");
  }
  return 0;
}
