// tunvexa-sim: the bus adapter and modules on a pseudo-terminal, linked as comN.

#include <signal.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "sim/bootloader_model.h"
#include "sim/bus.h"
#include "sim/display_live_input.h"
#include "sim/display_models.h"
#include "sim/logger_models.h"
#include "sim/pty_server.h"
#include "sim/scenario_parser.h"
#include "viewers/trigger/recording_file.h"

namespace {

const char kUsage[] =
    "usage: tunvexa-sim --com N [--scenario FILE] [--pace] [--transcript FILE|-]\n"
    "                   [--flash-out FILE] [--replay FILE]\n"
    "\n"
    "Plays the echoing bus adapter and the modules behind it on a pseudo-terminal\n"
    "linked as comN in $XDG_CONFIG_HOME/ZEB/ports (default ~/.config/ZEB/ports),\n"
    "until SIGINT or SIGTERM.\n"
    "\n"
    "  --com N              COM number 1-99 to serve\n"
    "  --scenario FILE      modules and faults (see sim/README.md); default: one ignition\n"
    "                       and every display and logger module\n"
    "  --pace               every byte takes its real time at the baud rate set\n"
    "                       (10 bit times; sent, echoed and replied bytes in turn)\n"
    "  --transcript FILE    write every frame with echo and reply; '-' = stdout\n"
    "  --flash-out FILE     on exit, write the flash of the module with a bootloader\n"
    "                       (the lowest bus address when several have one) to FILE\n"
    "  --replay FILE        the ignition's oscilloscope mode plays this trigger\n"
    "                       recording (a Taktora data file or raw capture) over and\n"
    "                       over instead of its trigger wheel\n"
    "  --help               this text\n"
    "\n"
    "While it runs, lines on standard input change what a module measures:\n"
    "  live ADDR INDEX W    live value INDEX of the module at ADDR (a teach-in's sensor)\n"
    "  period ADDR W        its period word (the shift display's engine speed)\n";

sim::PtyServer* g_server = nullptr;

void onSignal(int) {
  if (g_server) g_server->stop();
}

// What a firmware update left in the flash, for scripts and tests.
bool writeFlash(sim::Bus& bus, const std::string& path) {
  std::lock_guard lock(bus.mutex());
  for (int address = 0; address <= 0xF0; address += 0x10) {
    const sim::BootloaderModel* bl = bus.bootloaderAt(static_cast<uint8_t>(address));
    if (bl == nullptr) continue;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bl->flash.data()),
              static_cast<std::streamsize>(bl->flash.size()));
    return static_cast<bool>(out.flush());
  }
  return false;
}

// Tells on standard error why a recording cannot be played.
class ErrorMessages : public viewers::ViewerMessages {
 public:
  void show(const std::string& text, viewers::MessageIcon) override {
    std::cerr << "tunvexa-sim: " << text << "\n";
  }
  bool askYesNo(const std::string&) override { return false; }
};

std::shared_ptr<const std::vector<std::pair<uint8_t, uint8_t>>> loadReplay(
    const std::string& path) {
  trigger::Recording rec;
  ErrorMessages messages;
  if (!trigger::loadRecordingFile(path, rec, messages)) return nullptr;
  auto samples = std::make_shared<std::vector<std::pair<uint8_t, uint8_t>>>(
      trigger::samplesInOrder(rec));
  if (samples->empty()) {
    std::cerr << "tunvexa-sim: " << path << " holds no samples\n";
    return nullptr;
  }
  return samples;
}

int usageError(const std::string& message) {
  std::cerr << "tunvexa-sim: " << message << "\n" << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int com = 0;
  bool pace = false;
  std::string scenarioPath, transcriptPath, flashPath, replayPath;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--pace") {
      pace = true;
    } else if (arg == "--com") {
      std::string v;
      if (!value(v)) return usageError("--com needs a number");
      auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), com);
      if (ec != std::errc() || end != v.data() + v.size() || com < 1 || com > 99) {
        return usageError("--com needs a number 1-99, not '" + v + "'");
      }
    } else if (arg == "--scenario") {
      if (!value(scenarioPath)) return usageError("--scenario needs a file");
    } else if (arg == "--replay") {
      if (!value(replayPath)) return usageError("--replay needs a file");
    } else if (arg == "--flash-out") {
      if (!value(flashPath)) return usageError("--flash-out needs a file");
    } else if (arg == "--transcript") {
      if (!value(transcriptPath)) return usageError("--transcript needs a file or -");
    } else {
      return usageError("unknown option '" + arg + "'");
    }
  }
  if (com == 0) return usageError("--com is required");

  sim::Scenario scenario;
  if (scenarioPath.empty()) sim::addDisplayModules(scenario);
  if (scenarioPath.empty()) sim::addLoggerModules(scenario);
  if (!scenarioPath.empty()) {
    sim::ScenarioResult r = sim::loadScenarioFile(scenarioPath);
    if (!r.scenario) {
      std::cerr << "tunvexa-sim: " << r.error << "\n";
      return 2;
    }
    scenario = std::move(*r.scenario);
  }

  if (!replayPath.empty()) {
    auto samples = loadReplay(replayPath);
    if (!samples) return 2;
    scenario.ignition.wheel.replay = std::move(samples);
  }

  std::ofstream transcriptFile;
  std::ostream* transcript = nullptr;
  if (transcriptPath == "-") {
    transcript = &std::cout;
  } else if (!transcriptPath.empty()) {
    transcriptFile.open(transcriptPath, std::ios::out | std::ios::trunc);
    if (!transcriptFile) {
      std::cerr << "tunvexa-sim: cannot write " << transcriptPath << "\n";
      return 1;
    }
    transcript = &transcriptFile;
  }

  sim::Bus bus(scenario);
  sim::PtyServer server(bus, com, pace);
  std::string error;
  if (!server.start(error)) {
    std::cerr << "tunvexa-sim: " << error << "\n";
    return 1;
  }
  if (transcript) {
    server.setTranscriptSink([transcript](const sim::TranscriptEntry& e) {
      *transcript << sim::formatEntry(e) << std::endl;
    });
  }

  g_server = &server;
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::cout << "tunvexa-sim: COM" << com << " ready" << std::endl;
  // Sensor values typed while it runs reach the modules at once.
  std::thread([&bus] {
    for (std::string line; std::getline(std::cin, line);) {
      std::lock_guard lock(bus.mutex());
      if (std::string e = sim::applyLiveInput(bus, line); !e.empty())
        std::cerr << "tunvexa-sim: " << e << "\n";
    }
  }).detach();
  server.run();
  g_server = nullptr;
  if (!flashPath.empty() && !writeFlash(bus, flashPath)) {
    std::cerr << "tunvexa-sim: cannot write " << flashPath << "\n";
    return 1;
  }
  return 0;
}
