#pragma once

#include <cstdint>
#include <vector>

#include "modules/ignition/curve_list.h"

namespace ignition {

// The graph's drawing area in pixels of the window's client area: left edge
// x0, baseline y0, width w and height h (negative, because it grows upwards).
struct GraphGeometry {
  int32_t x0 = 0;
  int32_t y0 = 0;
  int32_t w = 0;
  int32_t h = 0;
  bool operator==(const GraphGeometry&) const = default;
};

// Axes: 0-12500 rpm to the right, -20..+40 degrees upwards; both map onto a
// 0-10000 scale first, in integer steps as the module's tools always drew it.
constexpr int32_t kGraphScale = 10000;
constexpr int32_t kGraphMaxRpm = 12500;
constexpr int32_t kGraphMinAngle = -20;
constexpr int32_t kGraphMaxAngle = 40;
// A point whose angle lies above this ends the drawn curve.
constexpr int32_t kGraphLastDrawableAngle = 100;

// The drawing area inside a client rectangle (0, 0)-(right, bottom): room
// for the angle labels on the left and the rpm labels below.
GraphGeometry graphGeometry(int32_t right, int32_t bottom);

// x of an rpm, in steps of 125 rpm, held inside the axis.
int32_t graphX(const GraphGeometry& g, int32_t rpm);
// y of a value of the 0-10000 scale, held inside the axis.
int32_t graphY(const GraphGeometry& g, int32_t value);
// An angle on the 0-10000 scale, held inside -20..+40 degrees.
int32_t angleScale(int32_t angle);
inline int32_t graphAngleY(const GraphGeometry& g, int32_t angle) {
  return graphY(g, angleScale(angle));
}

struct GraphPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const GraphPoint&) const = default;
};

// One point of a curve as the graph draws it: rpm and the angle the module
// fires at, i.e. the entry's angle plus the curve shift.
struct GraphCurvePoint {
  int32_t rpm = 0;
  int32_t angle = 0;
};

std::vector<GraphCurvePoint> graphCurvePoints(const CurveList& list, int32_t offset);

// The line that draws one curve: from the angle axis to the first point,
// through the points, then flat to the limiter and down the soft-limit ramp
// to -20 degrees (not with the hard limiter, which cuts the spark at once),
// or flat to the axis end without a limiter (limiterRpm 0).
//
// A curve without points (an empty list, e.g. after reading a PIN-locked
// module) gives no line at all: any line drawn would claim an advance the
// module does not have.
std::vector<GraphPoint> curvePolyline(const GraphGeometry& g,
                                      const std::vector<GraphCurvePoint>& points,
                                      int32_t limiterRpm, bool hardLimiter);

}  // namespace ignition
