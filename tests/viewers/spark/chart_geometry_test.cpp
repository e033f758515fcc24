#include "viewers/spark/chart_geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using spark::GridLine;
using spark::PenStep;

constexpr double kBaseline = 281.0;  // a 313-pixel chart

TEST(ChartGeometry, SpeedToPixelRoundsHalfToEven) {
  // 281 - 1500 x 0.167 = 30.5.
  EXPECT_EQ(spark::speedY(1500, kBaseline, 0.167), 30);
  EXPECT_EQ(spark::speedY(0, kBaseline, 0.167), 281);
  EXPECT_EQ(spark::speedY(4000, kBaseline, 0.0625), 31);
  EXPECT_EQ(spark::roundPixel(31.5), 32);
  EXPECT_EQ(spark::roundPixel(-0.5), 0);
}

TEST(ChartGeometry, AbsurdSpeedsStayDrawable) {
  EXPECT_EQ(spark::speedY(1e12, kBaseline, 0.167), -32768);
  EXPECT_EQ(spark::speedY(-1e12, kBaseline, 0.167), 32767);
}

TEST(ChartGeometry, ScaleButtonsGiveGridUpToTheirTopSpeed) {
  struct Case {
    int button;
    std::vector<int> speeds;
  };
  const Case cases[] = {
      {0, {0, 500, 1000, 1500}},
      {1, {0, 1000, 2000, 3000, 4000}},
      {2, {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000}},
      {3, {0, 2000, 4000, 6000, 8000, 10000, 12000}},
      {4, {0, 3000, 6000, 9000, 12000, 15000, 18000}},
  };
  for (const Case& c : cases) {
    std::vector<int> speeds;
    for (const GridLine& line : spark::speedGrid(spark::scaleButton(c.button), kBaseline)) {
      speeds.push_back(line.speed);
    }
    EXPECT_EQ(speeds, c.speeds) << spark::scaleButton(c.button).caption;
  }
  const auto grid = spark::speedGrid(spark::scaleButton(1), kBaseline);
  EXPECT_EQ(grid.back().y, 31);  // 281 - 4000 x 0.0625
  EXPECT_EQ(grid[2].y, 156);     // 281 - 2000 x 0.0625
}

TEST(ChartGeometry, LabelsEndEightPixelsLeftOfTheRightEdge) {
  const auto labels = spark::scaleLabels({{0, 281}, {1500, 30}}, 857);
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(labels[1].text, "1500");
  EXPECT_EQ(labels[1].rightX, 849);
  EXPECT_EQ(labels[1].centreY, 30);
  EXPECT_EQ(labels[0].text, "0");
}

TEST(ChartGeometry, TimeGridIsOneSecondApartAndShiftsWithPhase) {
  EXPECT_EQ(spark::timeGrid(857, 0.0, 0.01),
            (std::vector<int>{857, 757, 657, 557, 457, 357, 257, 157, 57}));
  EXPECT_EQ(spark::timeGrid(857, 0.25, 0.01),
            (std::vector<int>{832, 732, 632, 532, 432, 332, 232, 132, 32}));
  EXPECT_EQ(spark::timeGrid(200, 1.0, 0.01), (std::vector<int>{100, 0}));
}

TEST(ChartGeometry, CurveRunsFromOldestColumnAndLeavesGapAtDisturbedColumn) {
  // Baseline 100 and 0.01 pixels per rpm: maxima at y 90, 80, 70, 60, minima 95, 85, 75, 65.
  const std::vector<double> maxima = {1000, 2000, 3000, 4000};
  const std::vector<double> minima = {500, 1500, 2500, 3500};
  const std::vector<bool> disturbed = {false, false, false, true};
  const spark::ChartColumns columns{minima, maxima, disturbed, 1};
  const std::vector<PenStep> expected = {
      {false, -100, 90},  // lead-in at column 0's maximum
      {true, 0, 80},
      {true, 0, 85},  // column 1, the oldest
      {true, 1, 70},
      {true, 1, 75},   // column 2
                       // column 3 disturbed: pen lifted
      {false, 3, 90},  // column 0: pen set down again
  };
  EXPECT_EQ(spark::curvePath(columns, 100.0, 0.01), expected);
}

TEST(ChartGeometry, OverlayAndStatusTexts) {
  EXPECT_EQ(spark::overlayTexts(false, true),
            (std::vector<std::string>{"Keine Daten vom Modul!", "Datenübertragung gestört!"}));
  EXPECT_EQ(spark::overlayTexts(true, true),
            (std::vector<std::string>{"Datenübertragung gestört!"}));
  EXPECT_TRUE(spark::overlayTexts(true, false).empty());

  struct Case {
    bool connect, pause, data, disturbed;
    const char* text;
  };
  const Case cases[] = {
      {false, true, true, true, "Nicht verbunden."},
      {true, true, true, true, "Pause"},
      {true, false, true, true, "Datenübertragung läuft"},
      {true, false, false, true, "Datenübertragung gestört!"},
      {true, false, false, false, "Kein Datenempfang!"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(spark::statusText(c.connect, c.pause, c.data, c.disturbed), c.text);
  }
}

}  // namespace
