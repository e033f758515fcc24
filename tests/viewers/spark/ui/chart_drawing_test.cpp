#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "tests/viewers/spark/spark_test_packets.h"
#include "tests/viewers/spark/ui/picture_checks.h"
#include "viewers/spark/spark_core.h"
#include "viewers/spark/spark_texts.h"
#include "viewers/spark/ui/chart_painter.h"

namespace spark {
namespace {

using spark_ui_test::countInBox;
using spark_ui_test::countInColumn;
using spark_ui_test::countInRow;

QImage freshPicture() {
  return QImage(kChartWidth, kChartHeight, QImage::Format_RGB32);
}

// The picture is 313 high, so speed 0 lies at 281. Rows are
// round-half-even(281 - v x factor).
struct ScaleCase {
  int button;
  std::vector<int> gridRows;   // without speed 0, which the empty curve covers
  std::vector<int> clearRows;  // one pixel beside a grid row
};

TEST(ChartDrawing, EachScalePutsItsSpeedGridOnTheRowsOfItsFactor) {
  const std::vector<ScaleCase> cases = {
      // 500 -> 197.5 -> 198; 1500 -> 30.5 -> 30.
      {0, {198, 114, 30}, {197, 31}},
      // 1000 -> 218.5 -> 218; 3000 -> 93.5 -> 94.
      {1, {218, 156, 94, 31}, {219, 93}},
      // 1000 -> 249.8 -> 250; 2000 -> 218.6 -> 219; 8000 -> 31.4 -> 31.
      {2, {250, 219, 156, 31}, {249, 32}},
      // 2000 -> 242.6 -> 243; 12000 -> 50.6 -> 51.
      {3, {243, 51}, {242, 50}},
      // 3000 -> 243.5 -> 244; 18000 -> 56.
      {4, {244, 56}, {243, 57}},
  };
  SparkCore core(kChartWidth, kChartHeight, 4);
  core.startColumnLoop(0);
  for (const ScaleCase& c : cases) {
    SCOPED_TRACE(c.button);
    QImage picture = freshPicture();
    const DrawnChart drawn = drawChart(picture, core, c.button);
    EXPECT_EQ(drawn.scaleIndex, c.button);
    // x 200-399 holds two second lines (257 and 357 at phase 0) and nothing
    // else: the labels are at the right, the notes at the top left.
    for (int y : c.gridRows)
      EXPECT_EQ(countInRow(picture, y, 200, 400, kSpeedGridColour), 198) << y;
    for (int y : c.clearRows) EXPECT_EQ(countInRow(picture, y, 200, 400, kSpeedGridColour), 0) << y;
    // All columns are 0: the curve lies on the baseline (the label "0"
    // covers its right end).
    EXPECT_EQ(countInRow(picture, 281, 0, 800, kCurveColour), 800);
  }
}

TEST(ChartDrawing, SecondLinesStandAHundredPixelsApartFromTheRightEdge) {
  SparkCore core(kChartWidth, kChartHeight, 4);
  QImage picture = freshPicture();
  drawChart(picture, core, 0);
  // Phase 0: x = 857 (outside), 757, 657, ..., 57.
  EXPECT_EQ(countInRow(picture, 150, 0, kChartWidth, kTimeGridColour), 8);
  for (int x = 57; x < kChartWidth; x += 100) {
    EXPECT_EQ(picture.pixelColor(x, 150), kTimeGridColour) << x;
  }
}

// 6 cylinders and 1000 ticks between events give 5000 rpm; on the 8000 scale
// that is row 281 - 156 = 125.
TEST(ChartDrawing, CurveShowsTheColumnsWithAGapAtTheDisturbedOne) {
  SparkCore core(kChartWidth, kChartHeight, 6);
  core.startColumnLoop(0);
  uint16_t stamp = 2000;
  for (int column = 1; column <= 100; ++column) {
    std::array<uint16_t, 4> stamps{};
    // The chart counts a wrap of the stamps as 65 535 ticks.
    for (auto& s : stamps) s = stamp = static_cast<uint16_t>((stamp + 1000) % 65535);
    core.Receive(spark_test::packet(stamps, column == 50), column * 10000 - 5000);
    ASSERT_TRUE(core.columnPass(column * 10000, false));
  }
  ASSERT_EQ(core.columnIndex(), 100);
  ASSERT_NEAR(core.maxima()[48], 5000.0, 1e-6);
  ASSERT_TRUE(core.disturbedColumns()[49]);

  QImage picture = freshPicture();
  const DrawnChart drawn = drawChart(picture, core, 2);
  // Column k is drawn at x = k - 100 + 858: column 0 at 758, column 49 at 807.
  EXPECT_EQ(countInRow(picture, 125, 760, 800, kCurveColour), 40);
  // The last column before the gap keeps its pixel.
  EXPECT_EQ(picture.pixelColor(806, 125), kCurveColour);
  EXPECT_EQ(countInColumn(picture, 807, kCurveColour), 0);
  EXPECT_EQ(picture.pixelColor(808, 125), kCurveColour);
  // The columns before the data are 0.
  EXPECT_EQ(countInRow(picture, 281, 0, 757, kCurveColour), 757);

  // Speeds arrive, the error is less than 2 s old: only the second note.
  EXPECT_EQ(drawn.overlay, std::vector<std::string>{kTextDisturbed});
  EXPECT_GT(countInBox(picture, 10, 10, 300, 40, kOverlayColour), 20);
}

TEST(ChartDrawing, NoDataNoteIsRedAtTheTopLeft) {
  SparkCore core(kChartWidth, kChartHeight, 4);
  QImage picture = freshPicture();
  const DrawnChart drawn = drawChart(picture, core, 0);
  EXPECT_EQ(drawn.overlay, std::vector<std::string>{kTextNoData});
  EXPECT_GT(countInBox(picture, 10, 10, 300, 30, kOverlayColour), 20);
  EXPECT_EQ(countInBox(picture, 0, 0, 10, kChartHeight, kOverlayColour), 0);
  EXPECT_EQ(countInBox(picture, 0, 0, kChartWidth, 10, kOverlayColour), 0);
}

TEST(ChartDrawing, SpeedLabelsEndEightPixelsLeftOfTheRightEdge) {
  SparkCore core(kChartWidth, kChartHeight, 4);
  QImage picture = freshPicture();
  drawChart(picture, core, 0);
  // Label "1000" is centred on row 114; "1500" on row 30.
  const QColor black(0, 0, 0);
  EXPECT_GT(countInBox(picture, 800, 108, 849, 121, black), 10);
  EXPECT_EQ(countInBox(picture, 849, 0, kChartWidth, kChartHeight, black), 0);
  EXPECT_GT(countInBox(picture, 800, 24, 849, 37, black), 10);
}

}  // namespace
}  // namespace spark
