// A complete readIgnition and a complete writeIgnition through the real
// serial path (termios on a pseudo-terminal) against tunvexa-sim pacing
// every byte at 9600 baud, with a firmware-8.3 ignition.
//
// The limit is what the protocol prescribes for these two operations on this
// module, counted by hand below: the frames in their documented order (each
// a 2 ms pause, then 4 bytes sent, their echo and a 4-byte reply, 10 bit
// times per byte), the line checks on a quiet line (a one-byte read that
// waits its whole time-out) and nothing else. What the run actually sent is
// counted beside it, so a difference shows at once. Exit status 1 when a
// ratio exceeds 1.10, 2 when the operations fail.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "bench/support/sim_process.h"
#include "link/module_link.h"
#include "modules/ignition/ignition_io.h"
#include "platform/clock.h"
#include "platform/termios_device.h"
#include "shell/message_helpers.h"

extern char** environ;

namespace {

constexpr int kCom = 44;
constexpr double kTarget = 1.10;
constexpr int kBaud = 9600;

// The module in the simulator: firmware 8.3 (current: no question, no
// warning), no PIN, engine stopped, a temperature sensor, two curves of two
// points each, relative temperature maximum below the absolute one, and
// four vehicle information texts.
constexpr const char* kInfoTexts[] = {"Zeb", "Roadster 1000", "Sport",
                                      "Auslieferung 2019\nService 2023"};
constexpr int kCurvePoints = 2;
const char* const kScenario =
    "ignition\n"
    "  firmware 8.3\n"
    "  required 6.0\n"
    "  live 0 120\n"
    "  mem 0x03 100\n"
    "  mem 0x07 110\n"
    "  mem 0x05 180\n"
    "  mem 0x08 16 5 60 30 255 30\n"
    "  mem 0x88 16 0 60 0 255 0\n"
    "  info-text Zeb|Roadster 1000|Sport|Auslieferung 2019\\nService 2023\n";

// The vehicle information as it lies in the module: each text and its 0 byte.
int infoBytes() {
  int n = 0;
  for (const char* text : kInfoTexts) n += static_cast<int>(std::string(text).size()) + 1;
  return n;
}

// What the protocol prescribes for one operation.
struct Prescribed {
  int frames = 0;           // each: 2 ms pause, 4 bytes sent, 4 echoed, 4 answered
  int quietLineChecks = 0;  // each: a one-byte read waiting its whole time-out

  double us() const {
    const double byteUs = 10.0 * 1e6 / kBaud;
    const double frameUs = 2000.0 + 12 * byteUs;
    // Read time-out: 19200 / baud ms per byte plus 50 ms.
    const double quietCheckUs = (19200 / kBaud * 1 + 50) * 1000.0;
    return frames * frameUs + quietLineChecks * quietCheckUs;
  }
};

// The identification both operations start with, for firmware 8.3.
Prescribed versionCheck() {
  Prescribed p;
  p.quietLineChecks = 2;  // selecting the module, then the check of its own
  p.frames = 1            // firmware version
             + 1          // type word
             + 1          // period (from 0x500: is the engine running?)
             + 1          // required PC software
             + 4          // serial number 0xFC-0xFF
             + 3          // HKZ voltage, internal limiter start and step
             + 2;         // operating counter
  // PIN check (from 0x504): selects the module, firmware version, required
  // software, PIN status (none set); then the module is selected again.
  p.quietLineChecks += 2;
  p.frames += 3;
  return p;
}

Prescribed readIgnitionFrames() {
  Prescribed p = versionCheck();
  p.frames += 15;                          // base values
  p.frames += 2 * (2 * kCurvePoints + 1);  // rpm and angle per point, then the end marker
  p.frames += 1 + 2;                       // live value 0 (a sensor), the two temperature maxima
  p.frames += 12 + 2;                      // corrections, pressure sensor factor and offset
  p.frames += 8 * 4;                       // both pressure curves, all 8 slots
  p.frames += 3 + 8;  // trigger wheel, missing teeth, shift light; channel table
  // Vehicle information (from 0x602): select, every byte up to the 4th 0 byte, leave.
  p.frames += 1 + infoBytes() + 1;
  return p;
}

Prescribed writeIgnitionFrames() {
  Prescribed p = versionCheck();
  p.frames += 16;  // base values (both charge time copies, the internal limiter)
  // Firmware 8.3 appends no points above the limiter: end marker (rpm and
  // angle byte), then rpm and angle per point.
  p.frames += 2 * (2 + 2 * kCurvePoints);
  p.frames += 1 + 12 + 2 + 8 * 4 + 3 + 8;  // offset, corrections, sensor, pressure curves, ...
  // Vehicle information: select, every byte with the texts' 0 bytes, one
  // commit at the end (no byte before address 64 is followed by a page
  // boundary here), leave.
  p.frames += 1 + infoBytes() + 1 + 1;
  // Temperature fold: select, firmware version, both maxima, the relative
  // one set to 0 (it lies below the absolute one).
  p.quietLineChecks += 1;
  p.frames += 1 + 2 + 1;
  p.frames += 1;  // restart
  return p;
}

// What went over the line in the run and how long the link chose to wait:
// shown beside the prescribed figures, not used for the limit.
struct LineCount {
  std::map<int, int64_t> bytesAtBaud;
  int frames = 0;
  double pauseUs = 0;
  double quietWaitUs = 0;  // time-outs of reads that came up short

  int64_t bytes() const {
    int64_t n = 0;
    for (const auto& [baud, b] : bytesAtBaud) n += b;
    return n;
  }
};

// The real termios device, counting.
class CountingDevice : public platform::SerialDevice {
 public:
  explicit CountingDevice(LineCount& count) : count_(count) {}
  bool openDevice(int n) override { return device_.openDevice(n); }
  bool isOpen() const override { return device_.isOpen(); }
  void closeDevice() override { device_.closeDevice(); }
  bool setBufferSizes(int r, int t) override { return device_.setBufferSizes(r, t); }
  bool purge() override { return device_.purge(); }
  bool purgeReceive() override { return device_.purgeReceive(); }
  bool applyTimeouts(const platform::SerialTimeouts& t) override {
    timeouts_ = t;
    return device_.applyTimeouts(t);
  }
  bool applyLineSettings(int baud) override {
    baud_ = baud;
    return device_.applyLineSettings(baud);
  }
  bool setBaudRate(int baud) override {
    baud_ = baud;
    return device_.setBaudRate(baud);
  }
  bool setRts(bool on) override { return device_.setRts(on); }
  bool setDtr(bool on) override { return device_.setDtr(on); }
  int write(const uint8_t* data, int n) override {
    const int written = device_.write(data, n);
    if (written > 0) count_.bytesAtBaud[baud_] += written;
    if (written == 4) ++count_.frames;
    return written;
  }
  int read(uint8_t* buffer, int n) override {
    const int got = device_.read(buffer, n);
    if (got > 0) count_.bytesAtBaud[baud_] += got;
    if (got < n) {
      // The read waited its whole time-out; the bytes that did come are
      // counted above already.
      const double timeoutUs =
          (static_cast<double>(timeouts_.readMultiplier) * n + timeouts_.readConstant) * 1000.0;
      count_.quietWaitUs += timeoutUs - got * 10.0 * 1e6 / baud_;
    }
    return got;
  }
  void abortRead() override { device_.abortRead(); }

 private:
  platform::TermiosDevice device_;
  LineCount& count_;
  platform::SerialTimeouts timeouts_;
  int baud_ = 9600;
};

class CountingClock : public platform::Clock {
 public:
  explicit CountingClock(LineCount& count) : count_(count) {}
  uint32_t ticks() override { return platform::systemClock().ticks(); }
  void sleepMs(uint32_t ms) override {
    count_.pauseUs += ms * 1000.0;
    platform::systemClock().sleepMs(ms);
  }

 private:
  LineCount& count_;
};

// Nobody to ask: the module has current firmware and no PIN.
class QuietPrompts : public shell::UserPrompts {
 public:
  void showMessage(int32_t id) override { shown = id; }
  bool askYesNo(int32_t) override { return false; }
  void showNumber(int32_t) override {}
  bool askText(int32_t, std::string&, size_t) override { return false; }
  void openWaitWindow(int32_t, int32_t) override {}
  void stepWaitWindow() override { ++steps; }
  void closeWaitWindow() override {}
  int32_t shown = 0;
  int steps = 0;
};

struct Measured {
  int32_t result = 0;
  double elapsedUs = 0;
  LineCount line;
  int steps = 0;
};

template <typename Operation>
Measured measure(LineCount& count, QuietPrompts& prompts, Operation op) {
  count = LineCount();
  prompts.steps = 0;
  Measured m;
  const int64_t start = platform::monotonicMicros();
  m.result = op();
  m.elapsedUs = static_cast<double>(platform::monotonicMicros() - start);
  m.line = count;
  m.steps = prompts.steps;
  return m;
}

bool report(const char* name, const Measured& m, const Prescribed& p) {
  const double ratio = m.elapsedUs / p.us();
  std::printf("%s: prescribed %d frames and %d quiet-line checks = %.1f ms, limit %.1f ms\n", name,
              p.frames, p.quietLineChecks, p.us() / 1000.0, p.us() * kTarget / 1000.0);
  std::printf(
      "  run: %d frames (%d after the wait window opened), %lld bytes on the line, pauses %.1f"
      " ms, quiet-line waits %.1f ms\n",
      m.line.frames, m.steps, static_cast<long long>(m.line.bytes()), m.line.pauseUs / 1000.0,
      m.line.quietWaitUs / 1000.0);
  std::printf("  measured %.1f ms, prescribed %.1f ms, ratio %.3f (target <= %.2f)\n",
              m.elapsedUs / 1000.0, p.us() / 1000.0, ratio, kTarget);
  // A frame more or less than prescribed is a fault of its own, even when
  // the time still fits.
  if (m.line.frames != p.frames) {
    std::printf("  FAIL: the run sent %d frames, %d are prescribed\n", m.line.frames, p.frames);
    return false;
  }
  return ratio <= kTarget;
}

}  // namespace

int main() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tunvexa-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 2;
  const char* folder = pattern.c_str();
  setenv("XDG_CONFIG_HOME", folder, 1);
  const std::string scenario = std::string(folder) + "/ignition.txt";
  std::ofstream(scenario) << kScenario;
  FILE* simOut = nullptr;
  pid_t sim = bench_support::startSimulator(kCom, scenario, &simOut);
  char line[256] = {};
  if (sim < 0 || simOut == nullptr || std::fgets(line, sizeof line, simOut) == nullptr) {
    std::fprintf(stderr, "tunvexa-sim did not start\n");
    return 2;
  }

  LineCount count;
  CountingClock clock(count);
  buslink::ModuleLink link(std::make_unique<CountingDevice>(count), clock);
  link.setPortNumber(kCom);
  QuietPrompts prompts;
  ignition::IgnitionState state;
  ignition::initialiseState(state);

  const Measured read =
      measure(count, prompts, [&] { return ignition::readIgnition(state, link, prompts); });
  shell::finishOperation(link, prompts, read.result);
  const Measured write =
      measure(count, prompts, [&] { return ignition::writeIgnition(state, link, prompts); });
  shell::finishOperation(link, prompts, write.result);

  link.close();
  kill(sim, SIGTERM);
  waitpid(sim, nullptr, 0);
  std::fclose(simOut);
  std::filesystem::remove_all(folder);

  if (state.record.firmwareVersion != 0x803) {
    std::fprintf(stderr, "the simulator did not play a firmware-8.3 ignition\n");
    return 2;
  }
  if (read.result != 8052 || write.result != 8050) {
    std::fprintf(stderr, "operations failed: read %d, write %d\n", read.result, write.result);
    return 2;
  }
  std::printf("firmware-8.3 ignition at %d baud (paced)\n", kBaud);
  const bool readOk = report("readIgnition", read, readIgnitionFrames());
  const bool writeOk = report("writeIgnition", write, writeIgnitionFrames());
  return readOk && writeOk ? 0 : 1;
}
