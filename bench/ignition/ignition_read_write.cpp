// A complete readIgnition and a complete writeIgnition through the real
// serial path (termios on a pseudo-terminal) against tunvexa-sim pacing
// every byte at 9600 baud, with a firmware-8.3 ignition.
//
// The limit is what the protocol itself needs, counted from what actually
// went over the line during the operation: every byte written and read at
// 10 bit times of its baud rate (frame, echo and reply, as the pacing puts
// them on the line), the link's own pauses (2 ms before every frame, the
// 30 ms of a wake pulse, the pause before a repeated write) and the full
// time-out of every read that had to wait for a quiet line (the line-idle
// check). Exit status 1 when a ratio exceeds 1.10, 2 when the operations
// fail.
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

#include "link/module_link.h"
#include "modules/ignition/ignition_io.h"
#include "platform/clock.h"
#include "platform/termios_device.h"
#include "shell/message_helpers.h"

extern char** environ;

namespace {

constexpr int kCom = 44;
constexpr double kTarget = 1.10;

// What went over the line and how long the link chose to wait.
struct LineCount {
  std::map<int, int64_t> bytesAtBaud;
  int frames = 0;
  double pauseUs = 0;
  double quietWaitUs = 0;  // time-outs of reads that came up short

  double protocolUs() const {
    double us = pauseUs + quietWaitUs;
    for (const auto& [baud, bytes] : bytesAtBaud) us += bytes * 10.0 * 1e6 / baud;
    return us;
  }
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

pid_t startSimulator(const std::string& scenario, FILE** output) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  std::string sim = std::string(TUNVEXA_BIN_DIR) + "/tunvexa-sim/tunvexa-sim";
  std::string com = std::to_string(kCom);
  std::string scenarioPath = scenario;
  char* argv[] = {sim.data(),
                  const_cast<char*>("--com"),
                  com.data(),
                  const_cast<char*>("--pace"),
                  const_cast<char*>("--scenario"),
                  scenarioPath.data(),
                  nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  pid_t pid = -1;
  if (posix_spawn(&pid, sim.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  *output = fdopen(fds[0], "r");
  return pid;
}

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

bool report(const char* name, const Measured& m) {
  const double limitUs = m.line.protocolUs() * kTarget;
  const double ratio = m.elapsedUs / m.line.protocolUs();
  std::printf("%s: %d frames (%d after the wait window opened), %lld bytes on the line\n", name,
              m.line.frames, m.steps, static_cast<long long>(m.line.bytes()));
  std::printf(
      "  measured %.1f ms, protocol %.1f ms (pauses %.1f ms, quiet-line waits %.1f ms),"
      " limit %.1f ms, ratio %.3f (target <= %.2f)\n",
      m.elapsedUs / 1000.0, m.line.protocolUs() / 1000.0, m.line.pauseUs / 1000.0,
      m.line.quietWaitUs / 1000.0, limitUs / 1000.0, ratio, kTarget);
  return ratio <= kTarget;
}

}  // namespace

int main() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tunvexa-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 2;
  const char* folder = pattern.c_str();
  setenv("XDG_CONFIG_HOME", folder, 1);
  const std::string scenario = std::string(folder) + "/ignition.txt";
  // Texts of a realistic length, so the vehicle information counts.
  std::ofstream(scenario)
      << "ignition\n  firmware 8.3\n"
         "  info-text Zeb|Roadster 1000|Sport|Auslieferung 2019\\nService 2023\n";
  FILE* simOut = nullptr;
  pid_t sim = startSimulator(scenario, &simOut);
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
  std::printf("firmware-8.3 ignition at 9600 baud (paced)\n");
  const bool readOk = report("readIgnition", read);
  const bool writeOk = report("writeIgnition", write);
  return readOk && writeOk ? 0 : 1;
}
