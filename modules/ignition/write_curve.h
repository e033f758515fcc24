#pragma once

#include <cstdint>
#include <vector>

#include "link/module_link.h"
#include "modules/ignition/curve_list.h"
#include "shell/user_prompts.h"

namespace ignition {

struct CurvePoint {
  int32_t rpm = 0;
  int32_t angle = 0;  // degrees including the curve shift
  bool operator==(const CurvePoint&) const = default;
};

// What goes into module memory for one rpm curve.
struct CurvePlan {
  // 0; 8025 too many entries; 8045 an entry that is no "%05i rpm %3i" line
  // (a hand-edited settings file); 1 an angle plus the shift outside
  // -40..+40, or a point whose rpm byte the module would take for the end
  // of the curve (0 or 255).
  int32_t status = 0;
  // Empty for an empty list: the curve is written as its end marker alone.
  std::vector<CurvePoint> points;
};

// The points of a curve as written: shifted by `offset`, cut at the limiter
// (limiter 0 = none), and for firmware 0x200-0x701 extended above it by a
// ramp down to -40 degrees.
//
// Where the plain rule has no answer:
// - the first point already above the limiter has nothing to interpolate
//   from: it moves to the limiter rpm and keeps its angle;
// - a ramp point above 12700 rpm would need an rpm byte of 255 or more,
//   which the module reads as the end of the curve or wraps to a low rpm;
//   it is held at 12700 rpm (byte 254).
CurvePlan planCurve(const CurveList& list, int32_t offset, int32_t limiterRpm,
                    int32_t firmwareVersion);

// Writes curve 1 (base 0x00) or 2 (base 0x80): terminator first, then the
// points; an empty curve is the terminator with angle byte 0. Returns the
// plan's status (after showing 8073 for status 1) or the first link error.
int32_t writeCurve(buslink::ModuleLink& link, shell::UserPrompts& prompts, uint8_t base,
                   const CurveList& list, int32_t offset, int32_t limiterRpm,
                   int32_t firmwareVersion);

}  // namespace ignition
