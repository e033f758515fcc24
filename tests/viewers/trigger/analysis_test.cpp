#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/viewers/trigger/wheel_signal.h"
#include "viewers/trigger/trigger_analysis.h"

namespace {

using trigger::analyse;
using trigger::Analysis;
using trigger::AnalysisStatus;
using trigger_test::generateWheel;
using trigger_test::WheelSignal;

std::vector<int32_t> foundStarts(const Analysis& a) {
  std::vector<int32_t> starts;
  for (int i = 1; i <= a.gapCount(); ++i) starts.push_back(a.revolutionStart(i));
  return starts;
}

struct WheelCase {
  const char* name;
  WheelSignal signal;
  int teethBetweenGaps;
};

// Pitches of 12 samples keep the running reference at or below 16 (it
// approaches 4/3 of the pitch from below), so even a gap only twice the
// pitch long (36-1) is a gap.
const WheelCase kWheels[] = {
    {"60-2 steady", {60, 2, 12, 12}, 58},
    {"60-2 rising speed", {60, 2, 16, 8}, 58},
    {"60-2 inverted", {60, 2, 12, 12, true}, 58},
    {"36-1 steady", {36, 1, 12, 12}, 35},
    {"36-1 inverted", {36, 1, 12, 12, true}, 35},
    {"60-2 full ring", {60, 2, 12, 12, false, -1, -1, -1, -1, 60000}, 58},
};

TEST(TriggerAnalysis, FindsEveryGapOfGeneratedWheels) {
  for (const WheelCase& c : kWheels) {
    SCOPED_TRACE(c.name);
    auto wheel = generateWheel(c.signal);
    if (wheel.recording.DataCount == trigger::kRingSize) wheel.recording.DataWrIdx = 0;
    const Analysis a = analyse(wheel.recording);
    ASSERT_EQ(a.status, AnalysisStatus::kOk);
    EXPECT_EQ(foundStarts(a), wheel.gapStarts);
    for (int i = 2; i <= a.gapCount(); ++i) {
      EXPECT_EQ(a.teethBefore(i), c.teethBetweenGaps) << "row " << i;
    }
    // Marks lie exactly on the gap periods.
    for (int i = 1; i < a.gapCount(); ++i) {
      const size_t k = static_cast<size_t>(a.gaps[static_cast<size_t>(i)]);
      const int32_t from = a.runStarts[k];
      const int32_t to = from + a.periods[k];
      EXPECT_EQ(wheel.recording.marks[static_cast<size_t>(from)], 1);
      EXPECT_EQ(wheel.recording.marks[static_cast<size_t>(to - 1)], 1);
      EXPECT_EQ(wheel.recording.marks[static_cast<size_t>(to)], 0);
      EXPECT_EQ(wheel.recording.marks[static_cast<size_t>(from - 1)], 0);
    }
  }
}

TEST(TriggerAnalysis, SixtyMinusTwoGivesOneRowPerRevolution) {
  // 720 samples per revolution; the gap of revolution r ends at 720 (r + 1),
  // so 59 000 samples hold 81 whole gaps followed by a tooth.
  auto wheel = generateWheel({60, 2, 12, 12});
  const Analysis a = analyse(wheel.recording);
  ASSERT_EQ(a.gapCount(), 81);
  EXPECT_EQ(a.revolutionStart(1), 57 * 12 + 6);
  EXPECT_EQ(a.revolutionStart(2) - a.revolutionStart(1), 720);
}

TEST(TriggerAnalysis, SingleSampleDropoutAddsOneToothToItsRevolutionOnly) {
  WheelSignal s{60, 2, 12, 12};
  s.glitchTooth = 20;
  s.glitchIn = 10;
  auto wheel = generateWheel(s);
  const Analysis a = analyse(wheel.recording);
  ASSERT_EQ(a.status, AnalysisStatus::kOk);
  EXPECT_EQ(foundStarts(a), wheel.gapStarts);
  // Revolution 10 lies between the gaps of revolutions 9 and 10: G[10], G[11].
  for (int i = 2; i <= a.gapCount(); ++i) EXPECT_EQ(a.teethBefore(i), i == 11 ? 59 : 58) << i;
}

TEST(TriggerAnalysis, BrokenToothIsSeenAsAnExtraGap) {
  // A missing tooth leaves two pitches low: a period of 24 samples, twice
  // the pitch, which is a gap as in a 36-1 wheel.
  WheelSignal s{60, 2, 12, 12};
  s.absentTooth = 29;
  s.absentIn = 10;
  auto wheel = generateWheel(s);
  const Analysis a = analyse(wheel.recording);
  ASSERT_EQ(a.status, AnalysisStatus::kOk);
  ASSERT_EQ(a.gapCount(), static_cast<int>(wheel.gapStarts.size()) + 1);
  // Teeth 0-28 before it, 30-57 after it.
  EXPECT_EQ(a.teethBefore(11), 29);
  EXPECT_EQ(a.teethBefore(12), 28);
  EXPECT_EQ(a.revolutionStart(11), 10 * 720 + 28 * 12 + 6);
}

TEST(TriggerAnalysis, NoRisingEdgeMeansNoData) {
  for (uint8_t level : {0, 1}) {
    trigger::Recording rec;
    std::fill(rec.channelA.begin(), rec.channelA.end(), level);
    rec.DataCount = trigger::kRingSize;
    rec.marks[5] = 1;
    const Analysis a = analyse(rec);
    EXPECT_EQ(a.status, AnalysisStatus::kNoData);
    EXPECT_EQ(a.gapCount(), 0);
    EXPECT_EQ(std::count(rec.marks.begin(), rec.marks.end(), 1), 0);
  }
  trigger::Recording empty;
  EXPECT_EQ(analyse(empty).status, AnalysisStatus::kNoData);
}

TEST(TriggerAnalysis, TenTeethAreTooFewPeriods) {
  // Ten teeth: 20 runs after the first rising edge, the last one open, so
  // at most 20 periods (highest index 19).
  auto wheel = generateWheel({60, 2, 12, 12, false, -1, -1, -1, -1, 10 * 12 + 6});
  const Analysis a = analyse(wheel.recording);
  EXPECT_EQ(a.status, AnalysisStatus::kTooFewData);
  EXPECT_EQ(a.gapCount(), 0);
}

TEST(TriggerAnalysis, RunTwiceGivesSameMarksAndOldMarksGo) {
  auto wheel = generateWheel({60, 2, 12, 12});
  std::fill(wheel.recording.marks.begin(), wheel.recording.marks.end(), 1);
  analyse(wheel.recording);
  const std::vector<uint8_t> first = wheel.recording.marks;
  analyse(wheel.recording);
  EXPECT_EQ(wheel.recording.marks, first);
  // 81 gap periods of 36 samples each.
  EXPECT_EQ(std::count(first.begin(), first.end(), 1), 81 * 36);
}

TEST(TriggerAnalysis, FullRingStartsAfterTheWriteIndex) {
  // Only slot 0 to 1 rises: with DataWrIdx 59 999 the start slot is 0, so
  // that edge is the first one found.
  trigger::Recording rec;
  rec.DataCount = trigger::kRingSize;
  rec.DataWrIdx = trigger::kLastSlot;
  rec.channelA[1] = 1;
  const Analysis a = analyse(rec);
  ASSERT_GE(a.runStarts.size(), 2u);
  EXPECT_EQ(a.runStarts[1], 1);
  // The first run is counted one sample longer than it is.
  EXPECT_EQ(a.runLengths[0], 2);
}

}  // namespace
