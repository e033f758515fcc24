// The graph's coordinate mapping is plain integer arithmetic; no Qt here.
#include "modules/ignition/curve_graph_mapping.h"

#include <gtest/gtest.h>

namespace ignition {
namespace {

const GraphGeometry kGeometry = graphGeometry(747, 437);

TEST(CurveGraphMapping, GeometryLeavesRoomForTheLabels) {
  EXPECT_EQ(kGeometry, (GraphGeometry{50, 417, 676, -408}));
}

TEST(CurveGraphMapping, PointsAndClamping) {
  struct Case {
    int32_t rpm, angle;
    int32_t x, y;
  };
  const GraphGeometry& g = kGeometry;
  const Case cases[] = {
      // 8000 rpm is step 64 of 100 on the axis, 30 degrees is 8333 of 10000.
      {8000, 30, g.x0 + g.w * 6400 / 10000, g.y0 + g.h * 8333 / 10000},
      {0, -20, g.x0, g.y0},
      {12500, 40, g.x0 + g.w, g.y0 + g.h},
      // Outside the axes: held at the edges.
      {13000, 55, g.x0 + g.w, g.y0 + g.h},
      {-500, -35, g.x0, g.y0},
      // 124 rpm lies below the first 125 rpm step.
      {124, 0, g.x0, g.y0 + g.h * 3333 / 10000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(graphX(g, c.rpm), c.x) << c.rpm;
    EXPECT_EQ(graphAngleY(g, c.angle), c.y) << c.angle;
  }
  EXPECT_EQ(angleScale(30), 8333);
  EXPECT_EQ(graphY(g, 12000), g.y0 + g.h);
  EXPECT_EQ(graphY(g, -1), g.y0);
}

TEST(CurveGraphMapping, CurveRunsToTheLimiterAndDownTheRamp) {
  const GraphGeometry& g = kGeometry;
  const std::vector<GraphCurvePoint> curve = {{800, 10}, {3000, 30}};
  const GraphPoint start{g.x0, graphAngleY(g, 10)};
  const GraphPoint first{graphX(g, 800), graphAngleY(g, 10)};
  const GraphPoint second{graphX(g, 3000), graphAngleY(g, 30)};
  const GraphPoint atLimiter{graphX(g, 6000), graphAngleY(g, 30)};

  // Soft limit: 10 degrees per 100 rpm down to -20, i.e. to 6500 rpm from 30.
  EXPECT_EQ(curvePolyline(g, curve, 6000, false),
            (std::vector<GraphPoint>{
                start, first, second, atLimiter, {graphX(g, 6500), graphAngleY(g, -20)}}));
  // The hard limiter cuts the spark at the limiter.
  EXPECT_EQ(curvePolyline(g, curve, 6000, true),
            (std::vector<GraphPoint>{start, first, second, atLimiter}));
  // No limiter: flat to the end of the axis.
  EXPECT_EQ(
      curvePolyline(g, curve, 0, false),
      (std::vector<GraphPoint>{start, first, second, {graphX(g, 12500), graphAngleY(g, 30)}}));
}

TEST(CurveGraphMapping, AnAngleAboveOneHundredEndsTheCurve) {
  const GraphGeometry& g = kGeometry;
  const std::vector<GraphCurvePoint> curve = {{800, 10}, {3000, 101}, {5000, 20}};
  const std::vector<GraphPoint> line = curvePolyline(g, curve, 0, false);
  ASSERT_EQ(line.size(), 3u);
  EXPECT_EQ(line.back(), (GraphPoint{graphX(g, 12500), graphAngleY(g, 10)}));
}

TEST(CurveGraphMapping, AnEmptyCurveDrawsNothing) {
  EXPECT_TRUE(curvePolyline(kGeometry, {}, 6000, false).empty());
  EXPECT_TRUE(curvePolyline(kGeometry, {}, 0, true).empty());
}

TEST(CurveGraphMapping, PointsCarryTheCurveShift) {
  CurveList list;
  list.setPoints({{800, 5}, {3000, 30}});
  const std::vector<GraphCurvePoint> points = graphCurvePoints(list, -3);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].rpm, 800);
  EXPECT_EQ(points[0].angle, 2);
  EXPECT_EQ(points[1].rpm, 3000);
  EXPECT_EQ(points[1].angle, 27);
}

}  // namespace
}  // namespace ignition
