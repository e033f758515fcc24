#include "modules/ignition/write_curve.h"

#include <cctype>

#include "modules/ignition/conversions.h"
#include "modules/ignition/version_gates.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace ignition {

namespace {

constexpr int32_t kMaxAngle = 40;
constexpr uint8_t kEndMarker = 255;
constexpr int32_t kHighestRampRpm = 254 * 50;

bool wellFormed(const std::string& entry) {
  if (entry.size() < 10 || entry.compare(5, 5, " rpm ") != 0) return false;
  for (int i = 0; i < 5; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(entry[i]))) return false;
  }
  return true;
}

}  // namespace

CurvePlan planCurve(const CurveList& list, int32_t offset, int32_t limiterRpm,
                    int32_t firmwareVersion) {
  CurvePlan plan;
  const int n = list.size();
  if (gates::curveLimitedToEightPoints(firmwareVersion) ? n > 8 : n >= 18) {
    plan.status = texts::kTextCurveTooManyEntries;
    return plan;
  }
  std::vector<CurvePoint>& p = plan.points;
  for (int i = 0; i < n; ++i) {
    const std::string& entry = list.entries()[i];
    CurvePoint point{entryRpm(entry), entryAngle(entry) + offset};
    if (!wellFormed(entry)) {
      plan.status = texts::kTextParameterOutOfRange;
      return plan;
    }
    if (point.angle < -kMaxAngle || point.angle > kMaxAngle) {
      plan.status = 1;
      return plan;
    }
    if (limiterRpm > 0 && point.rpm > limiterRpm) {
      if (i > 0) {
        const CurvePoint& prev = p.back();
        point.angle =
            (limiterRpm - prev.rpm) * (point.angle - prev.angle) / (point.rpm - prev.rpm) +
            prev.angle;
      }
      point.rpm = limiterRpm;
      p.push_back(point);
      break;
    }
    p.push_back(point);
  }
  if (!p.empty() && limiterRpm > 0 && gates::appendsPointsAboveLimiter(firmwareVersion)) {
    if (p.back().rpm != limiterRpm) p.push_back({limiterRpm, p.back().angle});
    int32_t rampEnd = limiterRpm + 100 * ((p.back().angle + 40) / 10);
    if (rampEnd > kHighestRampRpm) rampEnd = kHighestRampRpm;
    p.push_back({rampEnd, -40});
  }
  // The module reads rpm byte 0 or 255 as the end of the curve: the points
  // after it would silently be lost.
  for (const CurvePoint& point : p) {
    const uint8_t rpmByte = rpmToByte(point.rpm) & 0xFF;
    if (rpmByte == 0 || rpmByte == kEndMarker) {
      plan.status = 1;
      plan.points.clear();
      return plan;
    }
  }
  return plan;
}

int32_t writeCurve(buslink::ModuleLink& link, shell::UserPrompts& prompts, uint8_t base,
                   const CurveList& list, int32_t offset, int32_t limiterRpm,
                   int32_t firmwareVersion) {
  CurvePlan plan = planCurve(list, offset, limiterRpm, firmwareVersion);
  if (plan.status == 1) prompts.showMessage(texts::kTextCheckCurveAndOffset);
  if (plan.status != 0) return plan.status;
  const auto& p = plan.points;
  const int n = static_cast<int>(p.size());
  // An empty curve has no last point to repeat.
  const uint8_t lastAngle = n > 0 ? static_cast<uint8_t>(p[n - 1].angle & 0xFF) : 0;
  int32_t e = link.writeByte(static_cast<uint8_t>(base + 8 + 2 * n), kEndMarker);
  if (e == 0) e = link.writeByte(static_cast<uint8_t>(base + 9 + 2 * n), lastAngle);
  for (int i = 0; i < n && e == 0; ++i) {
    e = link.writeByte(static_cast<uint8_t>(base + 8 + 2 * i), rpmToByte(p[i].rpm) & 0xFF);
    if (e == 0) e = link.writeByte(static_cast<uint8_t>(base + 9 + 2 * i), p[i].angle & 0xFF);
  }
  return e;
}

}  // namespace ignition
