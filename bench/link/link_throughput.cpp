// Module link throughput on a paced line: 200 readByte and 100 confirmed
// writeByte operations through the real serial path (termios on a
// pseudo-terminal) against tunvexa-sim pacing every byte at 9600 baud.
// The limit is what the protocol prescribes for them: one frame per
// operation (readByte makes a single try, a confirmed writeByte needs one),
// each a 2 ms pause, then 4 bytes sent, their echo and a 4-byte reply at 10
// bit times per byte. Exit status 1 when the ratio exceeds 1.10.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/support/sim_process.h"
#include "link/module_link.h"
#include "platform/clock.h"

extern char** environ;

namespace {

constexpr int kReads = 200;
constexpr int kWrites = 100;
constexpr int kBaud = 9600;
constexpr double kTarget = 1.10;

}  // namespace

int main() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tunvexa-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 2;
  const char* folder = pattern.c_str();
  setenv("XDG_CONFIG_HOME", folder, 1);
  const int com = 42;
  FILE* simOut = nullptr;
  pid_t sim = bench_support::startSimulator(com, "", &simOut);
  char line[256] = {};
  if (sim < 0 || simOut == nullptr || std::fgets(line, sizeof line, simOut) == nullptr) {
    std::fprintf(stderr, "tunvexa-sim did not start\n");
    return 2;
  }

  buslink::ModuleLink link;
  link.setPortNumber(com);
  int32_t e = link.selectModule(0xE0);
  int failures = 0;
  int64_t start = platform::monotonicMicros();
  for (int i = 0; i < kReads && e == 0; ++i) {
    uint8_t value = 0;
    if (link.readByte(static_cast<uint8_t>(i % 256), value) != 0) ++failures;
  }
  for (int i = 0; i < kWrites && e == 0; ++i) {
    // Bytes 0x10-0x4F lie in the ignition's curve area, harmless to rewrite.
    if (link.writeByte(static_cast<uint8_t>(0x10 + i % 64), static_cast<uint32_t>(i)) != 0)
      ++failures;
  }
  int64_t elapsed = platform::monotonicMicros() - start;
  link.close();
  kill(sim, SIGTERM);
  waitpid(sim, nullptr, 0);
  std::filesystem::remove_all(folder);

  if (e != 0 || failures != 0) {
    std::fprintf(stderr, "link failed: select %d, %d failed operations\n", e, failures);
    return 2;
  }
  const int frames = kReads * 1 + kWrites * 1;
  const double byteUs = 10.0 * 1e6 / kBaud;
  const double prescribedUs = frames * (2000.0 + 12 * byteUs);
  const double ratio = elapsed / prescribedUs;
  std::printf("%d readByte + %d writeByte at %d baud (paced)\n", kReads, kWrites, kBaud);
  std::printf("prescribed %d frames = %.1f ms, limit %.1f ms\n", frames, prescribedUs / 1000.0,
              prescribedUs * kTarget / 1000.0);
  std::printf("measured %.1f ms, prescribed %.1f ms, ratio %.3f (target <= %.2f)\n",
              elapsed / 1000.0, prescribedUs / 1000.0, ratio, kTarget);
  return ratio <= kTarget ? 0 : 1;
}
