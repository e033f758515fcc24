// A whole firmware update of a 64 KB image at 19200 baud through the real
// serial path (termios on a pseudo-terminal) against tunvexa-sim pacing every
// byte, with the erase and write times the scenario gives.
//
// The limit is what the protocol prescribes for the programming, counted
// here from its frames: the enable and running-number frames, one erase per
// 64-byte erase block and one write per 16-byte chunk (4-byte addresses),
// each frame sent, echoed by the adapter and answered, 10 bit times per
// byte, plus the scenario's erase and write times. The time is measured from
// the user's "Ja" to the result. Exit status 1 above 1.10, 2 when the update
// fails or the flash does not hold the image afterwards.
#include "firmware/firmware_update.h"

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "bench/support/sim_process.h"
#include "tests/firmware/firmware_file_builder.h"
#include "texts/firmware_update_text_ids.h"

namespace {

constexpr int kCom = 45;
constexpr int kBaud = 19200;
constexpr uint32_t kImageBytes = 65536;
constexpr uint32_t kEraseBlock = 64;
constexpr uint32_t kChunk = 16;
constexpr int kEraseMs = 2;
constexpr int kWriteMs = 1;
constexpr double kTarget = 1.10;

using Clock = std::chrono::steady_clock;

// Answers yes and notes when the programming was let go and when it ended.
class BenchView : public firmware::UpdateView {
 public:
  Clock::time_point started, ended;
  int steps = 0;
  firmware::FirmwareUpdate* update = nullptr;
  std::string file;

  void addToList(const std::string&, bool) override {}
  void clearList() override {}
  void showMessage(const std::string& text) override { std::printf("  %s\n", text.c_str()); }
  bool askYesNo(const std::string&) override { return true; }
  bool askText(const std::string&, std::string&, size_t) override { return false; }
  bool chooseFile(std::string& path) override {
    path = file;
    return true;
  }
  void openWaitWindow(int32_t, int32_t) override { started = Clock::now(); }
  void stepWaitWindow() override { ++stepsDone_; }
  void closeWaitWindow() override { ended = Clock::now(); }
  void showProgramButton(bool) override {}
  void setActiveBox(bool, bool) override {}
  void post(const firmware::WorkerPost& m) override {
    std::lock_guard lock(mutex_);
    posts_.push_back(m);
    ready_.notify_one();
  }
  void pump() {
    for (;;) {
      std::unique_lock lock(mutex_);
      ready_.wait_for(lock, std::chrono::milliseconds(20), [this] { return !posts_.empty(); });
      if (posts_.empty()) {
        if (!update->workerRunning()) break;
        continue;
      }
      const firmware::WorkerPost m = posts_.front();
      posts_.pop_front();
      lock.unlock();
      update->handlePost(m);
    }
    steps = stepsDone_.load();
  }

 private:
  std::atomic<int> stepsDone_{0};
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<firmware::WorkerPost> posts_;
};

firmware_test::Section image() {
  firmware_test::Section s;
  s.baudRate = kBaud;
  s.eraseExponent = 6;  // 64
  s.writeExponent = 5;  // 32
  s.typeId = 0x0800;
  s.version[0] = 8;
  s.version[1] = 4;
  s.version[2] = 1;
  firmware_test::Record r{0, {}, {}};
  for (uint32_t i = 0; i < kImageBytes; ++i) r.data.push_back(static_cast<uint8_t>(i * 13 + 7));
  r.data[0x10] = 8;
  r.data[0x11] = 4;
  r.data[0x12] = 1;
  s.records = {r};
  return s;
}

double prescribedSeconds() {
  const double byteSeconds = 10.0 / kBaud;
  const int addressBytes = 4;                    // bootloader version 0x0200
  const int enable = 4 + 4 + 4;                  // F3: sent, echo, reply
  const int runningNumber = 6 + 6 + 2;           // F5
  const int erase = 3 * (1 + addressBytes + 1);  // F8: sent, echo, reply of equal length
  const int write = 2 * (1 + addressBytes + 16 + 1) + (1 + addressBytes + 1);  // F7
  const int erases = kImageBytes / kEraseBlock;
  const int writes = kImageBytes / kChunk;
  const double line = (enable + runningNumber + static_cast<double>(erases) * erase +
                       static_cast<double>(writes) * write) *
                      byteSeconds;
  return line + (erases * kEraseMs + writes * kWriteMs) / 1000.0;
}

}  // namespace

int main() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tunvexa-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 2;
  const std::string folder = pattern;
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  const std::string scenario = folder + "/bus.txt";
  std::ofstream(scenario) << "ignition\n  type 0x0800\n  firmware 0x0704\n"
                             "  bootloader 19200\n  flash 65536 64 32\n  flash-ms 2 1\n"
                             "  boot-version-at 0x10\n";
  const firmware_test::Section section = image();
  BenchView view;
  view.file = folder + "/update.blf";
  std::ofstream(view.file, std::ios::binary) << firmware_test::section(section);
  const std::string flash = folder + "/flash.bin";

  FILE* simOut = nullptr;
  const pid_t sim = bench_support::startSimulator(kCom, scenario, &simOut, {"--flash-out", flash});
  char line[256] = {};
  if (sim < 0 || simOut == nullptr || std::fgets(line, sizeof line, simOut) == nullptr) {
    std::fprintf(stderr, "tunvexa-sim did not start\n");
    return 2;
  }

  buslink::ModuleLink moduleLink;
  moduleLink.setPortNumber(kCom);
  buslink::BootLink bootLink;
  int32_t result = 0;
  {
    firmware::FirmwareUpdate update(bootLink, moduleLink, view, folder + "/Firmware");
    view.update = &update;
    update.open();
    update.activeStart();
    view.pump();
    result = update.lastResult();
  }
  moduleLink.close();
  kill(sim, SIGTERM);
  waitpid(sim, nullptr, 0);
  std::fclose(simOut);

  std::ifstream in(flash, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::string data = bytes.str();
  const bool flashRight =
      data.size() >= kImageBytes &&
      std::equal(section.records[0].data.begin(), section.records[0].data.end(), data.begin(),
                 [](uint8_t a, char b) { return a == static_cast<uint8_t>(b); });
  std::filesystem::remove_all(folder);

  const double measured = std::chrono::duration<double>(view.ended - view.started).count();
  const double limit = prescribedSeconds();
  std::printf("firmware update, 64 KB at %d baud (%d chunks written)\n", kBaud, view.steps);
  if (result != texts::kTextProgrammingDone || !flashRight) {
    std::printf("  FAIL: result %d, flash %s\n", result, flashRight ? "ok" : "differs");
    return 2;
  }
  const double ratio = measured / limit;
  std::printf("  time %.2f s, prescribed %.2f s, limit %.2f s, ratio %.3f (target %.2f)\n",
              measured, limit, limit * kTarget, ratio, kTarget);
  return ratio <= kTarget ? 0 : 1;
}
