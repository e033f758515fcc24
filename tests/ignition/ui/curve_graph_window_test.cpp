// What the graph window paints, read back from its pixels.
#include "modules/ignition/ui/curve_graph_window.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "tests/ignition/ui/ignition_ui_support.h"

namespace ignition {
namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 192, 0);
const QColor kBlue(0, 0, 255);

struct Picture {
  QImage image;
  GraphGeometry g;
  // The colour at (x, y) or one pixel beside it (the pens are 2 wide).
  bool near(int x, int y, const QColor& colour) const {
    for (int dx = -1; dx <= 1; ++dx) {
      for (int dy = -1; dy <= 1; ++dy) {
        if (image.pixelColor(x + dx, y + dy) == colour) return true;
      }
    }
    return false;
  }
  bool anywhere(const QColor& colour) const {
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, y) == colour) return true;
      }
    }
    return false;
  }
};

Picture paint(const std::vector<GraphCurvePoint>& curve1,
              const std::vector<GraphCurvePoint>& curve2, int32_t limiter, bool hard) {
  CurveGraphWindow window(curve1, curve2, limiter, hard, nullptr);
  window.show();
  Picture p{window.grab().toImage(), window.geometry()};
  EXPECT_EQ(p.g, graphGeometry(window.width(), window.height()));
  return p;
}

const std::vector<GraphCurvePoint> kFlat30 = {{800, 30}, {3000, 30}};
const std::vector<GraphCurvePoint> kFlat0 = {{800, 0}, {3000, 0}};

TEST(CurveGraphWindow, CurvesInTheirColoursAndTheLimiterInBlue) {
  const Picture p = paint(kFlat30, kFlat0, 6000, false);
  const GraphGeometry& g = p.g;
  EXPECT_TRUE(p.near(graphX(g, 2000), graphAngleY(g, 30), kRed));
  EXPECT_TRUE(p.near(graphX(g, 5000), graphAngleY(g, 30), kRed)) << "flat up to the limiter";
  EXPECT_TRUE(p.near(graphX(g, 2000), graphAngleY(g, 0), kGreen));
  EXPECT_TRUE(p.near(graphX(g, 6000), graphY(g, 5000), kBlue));
  // Half way down the ramp from (6000 rpm, 30) to (6500 rpm, -20).
  const int midX = (graphX(g, 6000) + graphX(g, 6500)) / 2;
  const int midY = (graphAngleY(g, 30) + graphAngleY(g, -20)) / 2;
  EXPECT_TRUE(p.near(midX, midY, kRed));
  EXPECT_FALSE(p.near(graphX(g, 9000), graphAngleY(g, 30), kRed)) << "nothing beyond the ramp";
}

TEST(CurveGraphWindow, HardLimiterHasNoRamp) {
  const Picture p = paint(kFlat30, kFlat0, 6000, true);
  const GraphGeometry& g = p.g;
  const int midX = (graphX(p.g, 6000) + graphX(p.g, 6500)) / 2;
  const int midY = (graphAngleY(p.g, 30) + graphAngleY(p.g, -20)) / 2;
  EXPECT_FALSE(p.near(midX, midY, kRed));
  EXPECT_TRUE(p.near(graphX(g, 5000), graphAngleY(g, 30), kRed));
}

TEST(CurveGraphWindow, WithoutLimiterTheCurvesRunFlatAndNoBlueLine) {
  const Picture p = paint(kFlat30, kFlat0, 0, false);
  EXPECT_FALSE(p.anywhere(kBlue));
  EXPECT_TRUE(p.near(graphX(p.g, 12000), graphAngleY(p.g, 30), kRed));
  EXPECT_TRUE(p.near(graphX(p.g, 12000), graphAngleY(p.g, 0), kGreen));
}

TEST(CurveGraphWindow, EmptyCurvesLeaveOnlyGridAndLabels) {
  const Picture p = paint({}, {}, 6000, false);
  const GraphGeometry& g = p.g;
  // Only the labels are red and green, left of the axis.
  for (int y = 0; y < p.image.height(); ++y) {
    for (int x = g.x0 + 1; x < p.image.width(); ++x) {
      const QColor c = p.image.pixelColor(x, y);
      ASSERT_TRUE(c != kRed && c != kGreen) << x << "," << y;
    }
  }
  EXPECT_TRUE(p.near(graphX(g, 6000), graphY(g, 5000), kBlue));
}

}  // namespace
}  // namespace ignition
