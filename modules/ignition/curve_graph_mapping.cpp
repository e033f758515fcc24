#include "modules/ignition/curve_graph_mapping.h"

#include <algorithm>

namespace ignition {

namespace {
constexpr int32_t kRpmStep = 125;
constexpr int32_t kRampRpmPerDegree = 10;
}  // namespace

GraphGeometry graphGeometry(int32_t right, int32_t bottom) {
  GraphGeometry g;
  g.x0 = 50;
  g.y0 = bottom - 20;
  g.w = right - 71;
  g.h = -(bottom - 20) + 9;
  return g;
}

int32_t graphX(const GraphGeometry& g, int32_t rpm) {
  const int32_t v = std::clamp((rpm / kRpmStep) * 100, 0, kGraphScale);
  return g.x0 + g.w * v / kGraphScale;
}

int32_t graphY(const GraphGeometry& g, int32_t value) {
  const int32_t v = std::clamp(value, 0, kGraphScale);
  return g.y0 + g.h * v / kGraphScale;
}

int32_t angleScale(int32_t angle) {
  const int32_t a = std::clamp(angle, kGraphMinAngle, kGraphMaxAngle);
  return (a - kGraphMinAngle) * kGraphScale / (kGraphMaxAngle - kGraphMinAngle);
}

std::vector<GraphCurvePoint> graphCurvePoints(const CurveList& list, int32_t offset) {
  std::vector<GraphCurvePoint> points;
  points.reserve(list.entries().size());
  for (const std::string& e : list.entries())
    points.push_back({entryRpm(e), entryAngle(e) + offset});
  return points;
}

std::vector<GraphPoint> curvePolyline(const GraphGeometry& g,
                                      const std::vector<GraphCurvePoint>& points,
                                      int32_t limiterRpm, bool hardLimiter) {
  std::vector<GraphPoint> line;
  if (points.empty()) return line;
  line.push_back({graphX(g, 0), graphAngleY(g, points.front().angle)});
  line.push_back({graphX(g, points.front().rpm), graphAngleY(g, points.front().angle)});
  int32_t last = points.front().angle;
  for (size_t i = 1; i < points.size() && points[i].angle <= kGraphLastDrawableAngle; ++i) {
    line.push_back({graphX(g, points[i].rpm), graphAngleY(g, points[i].angle)});
    last = points[i].angle;
  }
  if (limiterRpm > 0) {
    line.push_back({graphX(g, limiterRpm), graphAngleY(g, last)});
    if (!hardLimiter) {
      const int32_t rampEnd = limiterRpm + (last - kGraphMinAngle) * kRampRpmPerDegree;
      line.push_back({graphX(g, rampEnd), graphAngleY(g, kGraphMinAngle)});
    }
  } else {
    line.push_back({graphX(g, kGraphMaxRpm), graphAngleY(g, last)});
  }
  return line;
}

}  // namespace ignition
