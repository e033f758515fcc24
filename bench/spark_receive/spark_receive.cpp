// Receiving the ignition's log-mode stream as the rpm chart does: the paced
// simulator on a pseudo-terminal, the viewer's log-mode switch, the
// project's termios port at 38 400 baud and the chart's decoder, for
// DURATION seconds (default 60).
//
// The engine fires every 360 ticks of 4 us (8 cylinders, 10 417 rpm), so a
// packet of four sparks is due every 5.76 ms, just above its 5.729 ms on the
// line: the line is nearly full. Sent = duration / 5.76 ms. Every spark's
// stamp must follow the previous one by 360 ticks, so a lost packet shows
// as a longer step; exit status 1 on any lost or broken packet. The CPU
// time of this process (getrusage) is printed as a share of the wall time.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/support/sim_process.h"
#include "platform/clock.h"
#include "platform/termios_device.h"
#include "viewers/spark/log_mode.h"
#include "viewers/spark/log_packet.h"
#include "viewers/spark/spark_core.h"

namespace {

constexpr int kCom = 63;
constexpr uint16_t kTicksPerSpark = 360;
constexpr double kCylinders = 8.0;
constexpr double kPacketSeconds = 4 * kTicksPerSpark * 4e-6;  // 5.76 ms
const char* const kScenario = "ignition\nperiod 360\nmem 0x01 8\n";

// The chart's port on the project's termios device.
class Port : public spark::ViewerPort {
 public:
  explicit Port(platform::TermiosDevice& device) : device_(device) {}
  bool Settings(const std::string& text) override {
    return device_.setBaudRate(std::atoi(text.c_str()));
  }
  bool PortIsOpen() override { return device_.isOpen(); }
  bool OpenPort() override {
    return device_.openDevice(kCom) && device_.applyLineSettings(38400) &&
           device_.applyTimeouts({0, 0, 0, 0, 1000});
  }
  void ClosePort() override { device_.closeDevice(); }
  void Send(const std::vector<uint8_t>& bytes) override {
    device_.write(bytes.data(), static_cast<int>(bytes.size()));
  }

 private:
  platform::TermiosDevice& device_;
};

class Pump : public spark::EventPump {
 public:
  int64_t nowMicros() override { return platform::monotonicMicros(); }
  void letEventsRun() override { usleep(500); }
};

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec +
         u.ru_stime.tv_usec / 1e6;
}

// Counts the packets independently of the chart: in step from the first
// 0xF2, every 22 bytes a packet whose sparks follow 360 ticks apart.
struct Counter {
  std::vector<uint8_t> pending;
  bool inStep = false;
  long packets = 0;
  long badChecks = 0;
  long missingSparks = 0;
  bool haveStamp = false;
  uint16_t lastStamp = 0;

  void take(const uint8_t* bytes, size_t n) {
    pending.insert(pending.end(), bytes, bytes + n);
    size_t at = 0;
    if (!inStep) {
      while (at < pending.size() && pending[at] != spark::kPacketStart) ++at;
      inStep = at < pending.size();
    }
    for (; inStep && at + spark::kPacketSize <= pending.size(); at += spark::kPacketSize) {
      const uint8_t* p = pending.data() + at;
      ++packets;
      uint8_t x = 0;
      for (int i = 0; i < spark::kPacketSize; ++i) x ^= p[i];
      if (p[0] != spark::kPacketStart || x != spark::kPacketCheck) ++badChecks;
      for (int i = 0; i < spark::kStampsPerPacket; ++i) {
        const auto s = static_cast<uint16_t>(p[2 + 2 * i] << 8 | p[3 + 2 * i]);
        const auto step = static_cast<uint16_t>(s - lastStamp);
        if (haveStamp && step != kTicksPerSpark) missingSparks += step / kTicksPerSpark - 1;
        if (haveStamp && step % kTicksPerSpark != 0) ++badChecks;
        lastStamp = s;
        haveStamp = true;
      }
    }
    pending.erase(pending.begin(), pending.begin() + static_cast<long>(at));
  }
};

}  // namespace

int main(int argc, char** argv) {
  const double duration = argc > 1 ? std::atof(argv[1]) : 60.0;
  if (duration <= 0) {
    std::fprintf(stderr, "usage: bench_spark_receive [SECONDS]\n");
    return 2;
  }
  std::string folder = (std::filesystem::temp_directory_path() / "tunvexa-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) return 2;
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  const std::string scenario = folder + "/log.txt";
  std::ofstream(scenario) << kScenario;
  FILE* simOut = nullptr;
  const pid_t sim = bench_support::startSimulator(kCom, scenario, &simOut);
  char line[256] = {};
  if (sim < 0 || simOut == nullptr || std::fgets(line, sizeof line, simOut) == nullptr) {
    std::fprintf(stderr, "tunvexa-sim did not start\n");
    return 2;
  }

  platform::TermiosDevice device;
  Port port(device);
  Pump pump;
  if (!port.OpenPort()) {
    std::fprintf(stderr, "cannot open COM%d\n", kCom);
    return 2;
  }
  spark::SparkCore core(857, 313, kCylinders);
  Counter counter;
  spark::SchalteAufLogmode(port, pump);

  // The window starts with the first packet, so the switch is not counted.
  const double cpuStart = cpuSeconds();
  int64_t start = 0;
  int64_t now = platform::monotonicMicros();
  const int64_t giveUp = now + 2000000;
  uint8_t buf[4096];
  while (true) {
    now = platform::monotonicMicros();
    if (start != 0 && now - start >= static_cast<int64_t>(duration * 1e6)) break;
    if (start == 0 && now > giveUp) break;
    pollfd p{device.nativeHandle(), POLLIN, 0};
    if (poll(&p, 1, 10) > 0) {
      const int n = device.read(buf, sizeof buf);
      if (n > 0) {
        now = platform::monotonicMicros();
        if (start == 0) {
          start = now;
          core.startColumnLoop(now);
        }
        core.Receive(buf, static_cast<size_t>(n), now);
        counter.take(buf, static_cast<size_t>(n));
      }
    }
    if (start != 0) core.columnPass(now, false);
  }
  const double wall = (now - start) / 1e6;
  const double cpu = cpuSeconds() - cpuStart;
  port.ClosePort();
  kill(sim, SIGTERM);
  waitpid(sim, nullptr, 0);
  std::fclose(simOut);
  std::filesystem::remove_all(folder);

  // Packets the simulator completed in the window. A loss shows exactly in
  // the stamps; the count may fall short by the packet still on the line at
  // the end and one held up in the terminal's delivery.
  const long sent = static_cast<long>(wall / kPacketSeconds) + 1;
  constexpr long kEdgePackets = 2;
  const long lost = counter.missingSparks / spark::kStampsPerPacket;
  std::printf("%.1f s at 38400 baud, a packet every %.2f ms (line time %.3f ms)\n", wall,
              kPacketSeconds * 1000, spark::kPacketSize * 10 / 38.4);
  std::printf("packets received %ld, sent %ld, lost %ld (missing sparks %ld), broken %ld\n",
              counter.packets, sent, lost, counter.missingSparks, counter.badChecks);
  std::printf("chart: %s, last column %.1f-%.1f rpm (engine %.1f rpm)\n",
              core.dataFlag() ? "data" : "no data", core.heldMinimum(), core.heldMaximum(),
              30000000.0 / (kTicksPerSpark * kCylinders));
  std::printf("CPU time %.2f s of %.2f s wall = %.2f %%\n", cpu, wall, 100.0 * cpu / wall);
  if (start == 0 || counter.missingSparks != 0 || counter.badChecks != 0 ||
      counter.packets < sent - kEdgePackets) {
    std::printf("FAIL: packets lost or broken\n");
    return 1;
  }
  return 0;
}
