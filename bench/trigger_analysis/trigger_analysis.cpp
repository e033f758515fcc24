// The gap analysis runs each time the user leaves live recording for "Stop"
// or "Sync", over the whole ring. A full ring of a 60-2 wheel at 200 rpm
// (60 000 samples, about 104 revolutions) must take well under 2 ms, or
// the switch stutters. Exit status 1 above the limit or when the result is
// not one row per revolution with 58 teeth.
#include "viewers/trigger/trigger_analysis.h"

#include <chrono>
#include <cstdio>

#include "bench/trigger_analysis/wheel_ring.h"

namespace {

constexpr int kRuns = 500;
constexpr double kLimitMs = 2.0;

}  // namespace

int main() {
  trigger::Recording rec = bench_support::wheelRing(12345);
  trigger::Analysis a;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRuns; ++i) a = trigger::analyse(rec);
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() /
      kRuns;
  std::printf("analysis of a full ring (%d samples), %d runs\n", trigger::kRingSize, kRuns);
  std::printf("time per run: %.3f ms (limit %.1f ms, ratio %.3f)\n", ms, kLimitMs, ms / kLimitMs);
  int wrong = 0;
  for (int i = 2; i <= a.gapCount(); ++i) wrong += a.teethBefore(i) != 58;
  std::printf("gaps found: %d, rows with another count than 58: %d\n", a.gapCount(), wrong);
  // 31.25 s at 3.33 revolutions a second.
  if (a.status != trigger::AnalysisStatus::kOk || a.gapCount() < 100 || wrong != 0) {
    std::printf("FAIL: the analysis did not find the wheel\n");
    return 1;
  }
  if (ms > kLimitMs) {
    std::printf("FAIL: above %.1f ms per run\n", kLimitMs);
    return 1;
  }
  return 0;
}
