#include "viewers/trigger/picture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/viewers/trigger/wheel_signal.h"
#include "viewers/trigger/display_settings.h"

namespace {

using trigger::DisplayMode;
using trigger::DisplaySettings;
using trigger::kRingSize;
using trigger::Picture;
using trigger::Recording;

Picture picture(int width, int height) {
  Picture p;
  p.width = width;
  p.height = height;
  return p;
}

TEST(TriggerDisplay, ZoomAndRowHeightLimits) {
  EXPECT_EQ(trigger::rowHeightUp(100), 100);
  EXPECT_EQ(trigger::rowHeightUp(50), 60);
  EXPECT_EQ(trigger::rowHeightDown(40), 40);
  EXPECT_DOUBLE_EQ(trigger::zoomIn(0.1), 0.1);
  EXPECT_DOUBLE_EQ(trigger::zoomOut(0.47), 0.5);
  EXPECT_DOUBLE_EQ(trigger::zoomOut(0.45), 0.495);
}

TEST(TriggerDisplay, ScrollRangeCountsRowsOrRevolutions) {
  // 10 000 samples at 400 per row: 25 rows of 50 pixels, 1 250 in all.
  auto r = trigger::scrollRange(800, 400, 0.5, 50, 10000, DisplayMode::kStop, 0);
  EXPECT_TRUE(r.enabled);
  EXPECT_EQ(r.maximum, 212);  // (1 250 - 400) / 4 = 212.5, half to even
  r = trigger::scrollRange(800, 400, 0.5, 50, 10000, DisplayMode::kSync, 40);
  EXPECT_EQ(r.maximum, 400);  // (40 x 50 - 400) / 4
  EXPECT_FALSE(trigger::scrollRange(800, 400, 0.5, 50, 10000, DisplayMode::kSync, 3).enabled);
  EXPECT_FALSE(trigger::scrollRange(800, 400, 0.5, 50, 10000, DisplayMode::kLive, 3).enabled);
  EXPECT_FALSE(trigger::scrollRange(800, 400, 0.5, 50, 0, DisplayMode::kStop, 0).enabled);
  EXPECT_FALSE(trigger::scrollRange(0, 400, 0.5, 50, 100, DisplayMode::kStop, 0).enabled);
}

TEST(TriggerDisplay, LanesOfARow) {
  const trigger::RowLanes row1 = trigger::rowLanes(1, 50, 10, 0);
  EXPECT_EQ(row1.top, 5);
  EXPECT_EQ(row1.middle, 25);
  EXPECT_EQ(row1.bottom, 45);
  const trigger::RowLanes row3 = trigger::rowLanes(3, 50, 10, 30);
  EXPECT_EQ(row3.top, 105 - 30);
  EXPECT_EQ(row3.bottom, 145 - 30);
}

TEST(TriggerDisplay, RowOfTenThousandSamplesCoversFourHundredAndAHalf) {
  Recording rec;
  rec.DataCount = 10000;
  rec.DataWrIdx = 10000;
  Picture pic = picture(800, 400);
  DisplaySettings s;
  const trigger::LaneEnd end = trigger::drawLane(pic, rec, true, 5, 25, 0.0, std::nullopt, s);
  EXPECT_EQ(end.columns, 801);
  EXPECT_DOUBLE_EQ(end.position, 400.5);
  EXPECT_FALSE(end.endOfData);
}

TEST(TriggerDisplay, LevelsFollowTheSamples) {
  // High level 11 and low level 19 in lane 5-25 (a margin of 6 pixels).
  Recording rec;
  rec.DataCount = 100;
  rec.DataWrIdx = 100;
  for (size_t i = 10; i < 20; ++i) rec.channelA[i] = 1;
  Picture pic = picture(300, 100);
  DisplaySettings s;
  const trigger::LaneEnd end = trigger::drawLane(pic, rec, true, 5, 25, 0.0, std::nullopt, s);
  EXPECT_TRUE(end.endOfData);
  EXPECT_EQ(end.columns, 200);
  ASSERT_EQ(pic.traces.size(), 1u);
  const std::vector<trigger::Point>& pts = pic.traces[0].points;
  ASSERT_FALSE(pts.empty());
  EXPECT_EQ(pts.front().y, 19);
  // Column 19 stands at 9.5, which rounds to slot 10 (half to even); the
  // line falls at column 39 (19.5 gives slot 20).
  EXPECT_TRUE(std::find_if(pts.begin(), pts.end(), [](auto p) { return p.x == 19 && p.y == 11; }) !=
              pts.end());
  EXPECT_TRUE(std::find_if(pts.begin(), pts.end(), [](auto p) { return p.x == 39 && p.y == 19; }) !=
              pts.end());
  EXPECT_EQ(pic.traces[0].verticals.size(), 2u);
}

TEST(TriggerDisplay, LiveRowStaysEmptyUntilARowIsRecorded) {
  Recording rec;
  DisplaySettings s;
  Picture pic = picture(800, 300);
  rec.DataCount = 50;
  rec.DataWrIdx = 50;
  trigger::drawLivePicture(pic, rec, s);
  ASSERT_EQ(pic.traces.size(), 2u);
  EXPECT_TRUE(pic.traces[0].points.empty());
  rec.DataCount = 1000;
  rec.DataWrIdx = 1000;
  rec.channelA[999] = 1;
  trigger::drawLivePicture(pic, rec, s);
  // From slot 599 to the newest sample: 401 samples, 801 columns.
  ASSERT_FALSE(pic.traces[0].points.empty());
  EXPECT_EQ(pic.traces[0].points.back().x, 800);
  EXPECT_EQ(pic.traces[0].points.back().y, 11);
}

TEST(TriggerDisplay, PositionRoundedBeyondTheLastSlotReadsSlotZero) {
  // 801 x 0.45 = 360.45 samples per row; with DataWrIdx 361 the live row
  // starts at 59 999.55, which rounds to 60 000: the slot after the last.
  Recording rec;
  rec.DataCount = kRingSize;
  rec.DataWrIdx = 361;
  rec.channelA.at(0) = 1;
  DisplaySettings s;
  s.SamProPxl = 0.45;
  Picture pic = picture(801, 300);
  trigger::drawLivePicture(pic, rec, s);
  ASSERT_FALSE(pic.traces[0].points.empty());
  EXPECT_EQ(pic.traces[0].points.front().y, 11);
  EXPECT_EQ(trigger::slotAt(59999.55), 0);
  EXPECT_EQ(trigger::slotAt(59999.4), 59999);
  EXPECT_EQ(trigger::slotAt(2.5), 2);
}

TEST(TriggerDisplay, FullRingStopPictureStartsAfterTheWriteIndex) {
  Recording rec;
  rec.DataCount = kRingSize;
  rec.DataWrIdx = 100;
  rec.channelA[101] = 1;
  DisplaySettings s;
  Picture pic = picture(800, 200);
  trigger::drawStopPicture(pic, rec, s, 0);
  ASSERT_GE(pic.traces.size(), 2u);
  EXPECT_EQ(pic.traces[0].points.front().y, 11);
}

Recording rotated(const Recording& in, int32_t writeIndex) {
  Recording out;
  for (int32_t i = 0; i < kRingSize; ++i) {
    const size_t to = static_cast<size_t>((i + writeIndex) % kRingSize);
    out.channelA[to] = in.channelA[static_cast<size_t>(i)];
    out.channelB[to] = in.channelB[static_cast<size_t>(i)];
  }
  out.DataCount = kRingSize;
  out.DataWrIdx = writeIndex;
  return out;
}

TEST(TriggerDisplay, SyncRowsEndBeforeTheNextGapAlsoAcrossTheRingEnd) {
  // 720 samples per revolution: a row runs from its gap to the sample
  // before the next one, 719 samples on at 0.5 per column, columns 0-1438.
  for (int32_t writeIndex : {0, 30000}) {
    SCOPED_TRACE(writeIndex);
    auto wheel = trigger_test::generateWheel({60, 2, 12, 12, false, -1, -1, -1, -1, kRingSize});
    Recording rec = rotated(wheel.recording, writeIndex);
    const trigger::Analysis a = trigger::analyse(rec);
    ASSERT_EQ(a.status, trigger::AnalysisStatus::kOk);
    DisplaySettings s;
    s.Zeilenhoehe = 40;
    Picture pic = picture(1600, a.gapCount() * 40);
    trigger::drawSyncPicture(pic, rec, a, s, 0);
    ASSERT_EQ(pic.traces.size(), static_cast<size_t>(2 * a.gapCount()));
    for (int i = 0; i + 1 < a.gapCount(); ++i) {
      const auto& laneA = pic.traces[static_cast<size_t>(2 * i)].points;
      const auto& laneB = pic.traces[static_cast<size_t>(2 * i + 1)].points;
      ASSERT_FALSE(laneA.empty()) << "row " << i + 1;
      EXPECT_EQ(laneA.back().x, 1438) << "row " << i + 1;
      EXPECT_EQ(laneB.back().x, 1438) << "row " << i + 1;
    }
    // Per row the tooth count, then the gap over the tooth period: 36 / 12.
    ASSERT_EQ(pic.labels.size(), static_cast<size_t>(2 * a.gapCount()));
    for (size_t i = 2; i < pic.labels.size(); i += 2) EXPECT_EQ(pic.labels[i].text, "58");
    for (size_t i = 1; i < pic.labels.size(); i += 2) EXPECT_EQ(pic.labels[i].text, "3,0");
    EXPECT_EQ(pic.labels[2].x, 10);
    EXPECT_EQ(pic.labels[2].y, 40 + 5 + 10);
  }
}

TEST(TriggerDisplay, GapRatioOfEachRevolution) {
  // 36-1: the gap period is two pitches (24 samples over 12).
  auto wheel = trigger_test::generateWheel({36, 1, 12, 12});
  const trigger::Analysis a = trigger::analyse(wheel.recording);
  ASSERT_GE(a.gapCount(), 2);
  for (int i = 1; i <= a.gapCount(); ++i) EXPECT_DOUBLE_EQ(a.gapRatio(i), 2.0) << i;
  DisplaySettings s;
  Picture pic = picture(800, 200);
  trigger::drawSyncPicture(pic, wheel.recording, a, s, 0);
  ASSERT_GE(pic.labels.size(), 4u);
  EXPECT_EQ(pic.labels[1].text, "2,0");
  EXPECT_EQ(pic.labels[2].text, "35");
}

}  // namespace
