// Read and write of every display module through the real serial path
// (termios on a pseudo-terminal) against tunvexa-sim's default bus, every
// byte paced at 9600 baud.
//
// The limit is what the protocol prescribes for each operation on the
// simulator's modules, counted by hand below from the memory maps: the
// frames in their documented order (each a 2 ms pause, then 4 bytes sent
// and their echo, and a 4-byte reply unless the module never answers, 10
// bit times per byte) and one check of the quiet line per selection (a
// one-byte read that waits its whole time-out). Exit status 1 when a ratio
// exceeds 1.10 or a run sent another number of frames, 2 when an operation
// fails.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/sim_process.h"
#include "link/module_link.h"
#include "modules/displays/bar_display.h"
#include "modules/displays/gear_display.h"
#include "modules/displays/poti_display.h"
#include "modules/displays/rally_timer.h"
#include "modules/displays/shift_display.h"
#include "modules/displays/small_displays.h"
#include "modules/displays/tank_display.h"
#include "platform/clock.h"
#include "platform/termios_device.h"
#include "shell/user_prompts.h"

namespace {

constexpr int kCom = 46;
constexpr double kTarget = 1.10;
constexpr int kBaud = 9600;

// What the protocol prescribes for one operation.
struct Prescribed {
  int frames = 0;        // answered: 12 bytes on the line
  int silentFrames = 0;  // never answered (bar display): 8 bytes
  int quietChecks = 1;   // one selection per operation

  double us() const {
    const double byteUs = 10.0 * 1e6 / kBaud;
    // Read time-out: 19200 / baud ms per byte plus 50 ms.
    const double quietCheckUs = (19200 / kBaud + 50) * 1000.0;
    return frames * (2000.0 + 12 * byteUs) + silentFrames * (2000.0 + 8 * byteUs) +
           quietChecks * quietCheckUs;
  }
  int total() const { return frames + silentFrames; }
};

// The simulator's default display modules (sim/display_models.cpp): the
// tank's first table holds 3 points, the others none; the rally timer has
// laps 1 and 3 and one recorded lap; the stopwatch reads its whole lap memory.
constexpr int kIdentify = 1;
constexpr int kRestart = 1;
const Prescribed kGearRead{kIdentify + 3 + 13 * 2};
const Prescribed kGearWrite{kIdentify + 3 + 13 * 2 + kRestart};
const Prescribed kTankRead{kIdentify + 8 + (3 * 3 + 1) + 1 + 1};
const Prescribed kTankWrite{kIdentify + 6 + (3 * 3 + 1) + 1 + 1 + kRestart};
const Prescribed kShiftRead{kIdentify + 4 + 2 + 2 + 1 + 7 * 4 + 2};
const Prescribed kShiftWrite{kIdentify + 2 + 1 + 7 * 4 + 2 + kRestart};
const Prescribed kPotiRead{kIdentify + 2 + 1 + 1 + 7 * 2};
const Prescribed kPotiWrite{kIdentify + 2 + 1 + 1 + 7 * 4 + kRestart};
const Prescribed kOilRead{kIdentify + 2};
const Prescribed kOilWrite{kIdentify + 2 + kRestart};
const Prescribed kStopwatchRead{kIdentify + 3 + 2 + (252 - 16 + 1)};
const Prescribed kStopwatchWrite{kIdentify + 3 + 2 + kRestart};
const Prescribed kRallyRead{kIdentify + 3 + (9 + 2) + (24 + 3)};
const Prescribed kRallyWrite{kIdentify + 3 + 3 * 2 + kRestart};
// Serial selection (2), special function, brightness, display address, mode,
// flags, step and start value (two bytes each), restart.
const Prescribed kBarWrite{0, 2 + 1 + 1 + 3 + 2 + 2 + 1};

// The real termios device, counting the frames sent.
class CountingDevice : public platform::SerialDevice {
 public:
  explicit CountingDevice(int& frames) : frames_(frames) {}
  bool openDevice(int n) override { return device_.openDevice(n); }
  bool isOpen() const override { return device_.isOpen(); }
  void closeDevice() override { device_.closeDevice(); }
  bool setBufferSizes(int r, int t) override { return device_.setBufferSizes(r, t); }
  bool purge() override { return device_.purge(); }
  bool purgeReceive() override { return device_.purgeReceive(); }
  bool applyTimeouts(const platform::SerialTimeouts& t) override {
    return device_.applyTimeouts(t);
  }
  bool applyLineSettings(int baud) override { return device_.applyLineSettings(baud); }
  bool setBaudRate(int baud) override { return device_.setBaudRate(baud); }
  bool setRts(bool on) override { return device_.setRts(on); }
  bool setDtr(bool on) override { return device_.setDtr(on); }
  int write(const uint8_t* data, int n) override {
    const int written = device_.write(data, n);
    if (written == 4) ++frames_;
    return written;
  }
  int read(uint8_t* buffer, int n) override { return device_.read(buffer, n); }
  void abortRead() override { device_.abortRead(); }

 private:
  platform::TermiosDevice device_;
  int& frames_;
};

class QuietPrompts : public shell::UserPrompts {
 public:
  void showMessage(int32_t id) override { shown.push_back(id); }
  bool askYesNo(int32_t) override { return false; }
  void showNumber(int32_t) override {}
  bool askText(int32_t, std::string&, size_t) override { return false; }
  void openWaitWindow(int32_t, int32_t) override {}
  void stepWaitWindow() override {}
  void closeWaitWindow() override {}
  std::vector<int32_t> shown;
};

struct Bench {
  int frames = 0;
  buslink::ModuleLink link{std::make_unique<CountingDevice>(frames), platform::systemClock()};
  QuietPrompts prompts;
  bool failed = false;
  bool slow = false;

  void run(const char* name, const Prescribed& p, const std::function<int32_t()>& op) {
    frames = 0;
    const int64_t start = platform::monotonicMicros();
    const int32_t status = op();
    const double elapsed = static_cast<double>(platform::monotonicMicros() - start);
    link.close();
    if (status != 0) {
      std::printf("%-16s FAILED with status %d\n", name, status);
      failed = true;
      return;
    }
    const double ratio = elapsed / p.us();
    std::printf(
        "%-16s %4d frames (prescribed %4d)  measured %8.1f ms  prescribed %8.1f ms  "
        "ratio %.3f\n",
        name, frames, p.total(), elapsed / 1000.0, p.us() / 1000.0, ratio);
    if (frames != p.total() || ratio > kTarget) slow = true;
  }
};

}  // namespace

int main() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tunvexa-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 2;
  setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
  FILE* simOut = nullptr;
  const pid_t sim = bench_support::startSimulator(kCom, "", &simOut);
  char line[256] = {};
  if (sim < 0 || simOut == nullptr || std::fgets(line, sizeof line, simOut) == nullptr) {
    std::fprintf(stderr, "tunvexa-sim did not start\n");
    return 2;
  }

  Bench b;
  b.link.setPortNumber(kCom);
  using namespace displays;
  GearDisplaySettings gear;
  TankDisplaySettings tank;
  ShiftDisplaySettings shift;
  PotiDisplaySettings poti;
  OilDisplaySettings oil;
  StopwatchSettings watch;
  RallyTimerSettings rally;
  BarDisplaySettings bar;
  bar.serialNumber = 1234567;
  std::printf("display modules at %d baud (paced), ratio limit %.2f\n", kBaud, kTarget);
  b.run("gear read", kGearRead, [&] { return readGearDisplay(b.link, b.prompts, gear); });
  b.run("gear write", kGearWrite, [&] { return writeGearDisplay(b.link, b.prompts, gear); });
  b.run("tank read", kTankRead, [&] { return readTankDisplay(b.link, b.prompts, tank); });
  b.run("tank write", kTankWrite, [&] { return writeTankDisplay(b.link, b.prompts, tank); });
  b.run("shift read", kShiftRead, [&] { return readShiftDisplay(b.link, b.prompts, shift); });
  b.run("shift write", kShiftWrite, [&] { return writeShiftDisplay(b.link, b.prompts, shift); });
  b.run("poti read", kPotiRead, [&] { return readPotiDisplay(b.link, b.prompts, poti); });
  b.run("poti write", kPotiWrite, [&] { return writePotiDisplay(b.link, b.prompts, poti); });
  b.run("oil read", kOilRead, [&] { return readOilDisplay(b.link, b.prompts, oil); });
  b.run("oil write", kOilWrite, [&] { return writeOilDisplay(b.link, b.prompts, oil); });
  b.run("stopwatch read", kStopwatchRead, [&] { return readStopwatch(b.link, b.prompts, watch); });
  b.run("stopwatch write", kStopwatchWrite,
        [&] { return writeStopwatch(b.link, b.prompts, watch); });
  b.run("rally read", kRallyRead, [&] { return readRallyTimer(b.link, b.prompts, rally); });
  b.run("rally write", kRallyWrite, [&] { return writeRallyTimer(b.link, b.prompts, rally); });
  b.run("bar write", kBarWrite, [&] { return writeBarDisplay(b.link, b.prompts, bar); });

  kill(sim, SIGTERM);
  waitpid(sim, nullptr, 0);
  std::fclose(simOut);
  std::filesystem::remove_all(pattern);
  if (b.failed) return 2;
  return b.slow ? 1 : 0;
}
