// Recording live as Taktora does: the paced simulator on a pseudo-terminal,
// the project's termios port at 9600 baud, the module identified and
// switched into its oscilloscope mode by the monitor, every frame decoded
// into the ring and the live row drawn and painted (1600 pixels wide) at
// 50 pictures a second, for DURATION seconds (default 30).
//
// The stream fills the line: a frame of eight samples every 40 bit times,
// 1920 samples a second. Every sample sent in the window must arrive; the
// CPU time of this process (getrusage) is printed as a share of the wall
// time. Exit status 1 when samples are lost or the wheel is not seen.
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/support/sim_process.h"
#include "platform/clock.h"
#include "platform/termios_device.h"
#include "viewers/trigger/picture.h"
#include "viewers/trigger/trigger_analysis.h"
#include "viewers/trigger/uc_zuend.h"
#include "viewers/trigger/ui/picture_painter.h"

namespace {

constexpr int kCom = 64;
constexpr double kSamplesPerSecond = 9600.0 / 40 * 8;
constexpr int64_t kPictureMicros = 20000;
const char* const kScenario = "ignition\nwheel-rpm 200\n";

class Port : public spark::ViewerPort {
 public:
  explicit Port(platform::TermiosDevice& device) : device_(device) {}
  bool Settings(const std::string&) override { return true; }
  bool PortIsOpen() override { return device_.isOpen(); }
  bool OpenPort() override {
    return device_.openDevice(kCom) && device_.applyLineSettings(9600) &&
           device_.applyTimeouts({0, 0, 0, 0, 1000});
  }
  void ClosePort() override { device_.closeDevice(); }
  void Send(const std::vector<uint8_t>& bytes) override {
    device_.write(bytes.data(), static_cast<int>(bytes.size()));
  }

 private:
  platform::TermiosDevice& device_;
};

// The window's event loop: what arrived goes to the module connection.
class Pump : public spark::EventPump {
 public:
  explicit Pump(platform::TermiosDevice& device) : device_(device) {}
  int64_t nowMicros() override { return platform::monotonicMicros(); }
  void letEventsRun() override {
    pollfd p{device_.nativeHandle(), POLLIN, 0};
    if (poll(&p, 1, 1) <= 0) return;
    uint8_t buf[4096];
    const int n = device_.read(buf, sizeof buf);
    if (n > 0 && zuend) zuend->ucCOM_Receive(buf, static_cast<size_t>(n));
  }
  trigger::ucZuend* zuend = nullptr;

 private:
  platform::TermiosDevice& device_;
};

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec +
         u.ru_stime.tv_usec / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  const double duration = argc > 1 ? std::atof(argv[1]) : 30.0;
  if (duration <= 0) {
    std::fprintf(stderr, "usage: bench_trigger_receive [SECONDS]\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  std::string folder = (std::filesystem::temp_directory_path() / "tunvexa-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) return 2;
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  const std::string scenario = folder + "/wheel.txt";
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
  Pump pump(device);
  trigger::Recording rec;
  trigger::ucZuend zuend(port, pump, rec);
  pump.zuend = &zuend;
  if (!port.OpenPort() || !zuend.GetModulInfo()) {
    std::fprintf(stderr, "no module on COM%d\n", kCom);
    return 2;
  }

  QImage image(1600, 300, QImage::Format_RGB32);
  trigger::Picture picture;
  picture.width = image.width();
  picture.height = image.height();
  trigger::DisplaySettings settings;
  int64_t start = 0, lastPicture = 0;
  int32_t lastIndex = 0;
  int64_t samples = 0;  // decoded since the window began
  int pictures = 0;
  double cpuStart = 0.0;
  int64_t now = platform::monotonicMicros();
  const int64_t giveUp = now + 3000000;
  while (true) {
    pump.letEventsRun();
    zuend.monitorTick();
    now = platform::monotonicMicros();
    if (start == 0) {
      if (rec.DataCount > 0) {
        // The window starts with the first frame, so the switch is not counted.
        start = now;
        lastIndex = rec.DataWrIdx;
        cpuStart = cpuSeconds();
      } else if (now > giveUp) {
        break;
      }
      continue;
    }
    samples += (rec.DataWrIdx - lastIndex + trigger::kRingSize) % trigger::kRingSize;
    lastIndex = rec.DataWrIdx;
    if (now - lastPicture >= kPictureMicros) {
      lastPicture = now;
      trigger::drawLivePicture(picture, rec, settings);
      trigger::paintPicture(image, picture);
      ++pictures;
    }
    if (now - start >= static_cast<int64_t>(duration * 1e6)) break;
  }
  const double wall = (now - start) / 1e6;
  const double cpu = cpuSeconds() - cpuStart;
  const trigger::Analysis a = trigger::analyse(rec);
  int wrong = 0;
  for (int i = 2; i <= a.gapCount(); ++i) wrong += a.teethBefore(i) != 58;
  port.ClosePort();
  kill(sim, SIGTERM);
  waitpid(sim, nullptr, 0);
  std::fclose(simOut);
  std::filesystem::remove_all(folder);

  // The frame still on the line at the end and one held in the terminal's
  // delivery may be missing.
  const auto sent = static_cast<int64_t>(wall * kSamplesPerSecond);
  constexpr int64_t kEdgeSamples = 3 * 8;
  std::printf("%.1f s at 9600 baud, %.0f samples a second\n", wall, kSamplesPerSecond);
  std::printf("samples received %lld, sent %lld; live pictures %d (%.1f a second)\n",
              static_cast<long long>(samples), static_cast<long long>(sent), pictures,
              pictures / wall);
  std::printf("revolutions in the ring %d, with another tooth count than 58: %d\n", a.gapCount(),
              wrong);
  std::printf("CPU time %.2f s of %.2f s wall = %.2f %%\n", cpu, wall, 100.0 * cpu / wall);
  if (start == 0 || samples < sent - kEdgeSamples || samples > sent + kEdgeSamples ||
      a.gapCount() < 2 || wrong != 0) {
    std::printf("FAIL: samples lost or the wheel not seen\n");
    return 1;
  }
  return 0;
}
