#include "modules/ignition/read_curve.h"

#include <optional>

#include "modules/ignition/conversions.h"
#include "modules/ignition/ignition_record.h"

namespace ignition {

namespace {
// Points fill slots 0-18; slot 19 can only hold the end mark.
constexpr int kReadableSlots = 19;
}  // namespace

int32_t readCurve(buslink::ModuleLink& link, uint8_t base, int32_t offset, uint8_t limiterByte,
                  CurveList& list) {
  list.clear();
  std::optional<int32_t> previousAngle;
  for (int i = 0; i < kReadableSlots; ++i) {
    uint8_t rpm = 0;
    uint8_t angleByte = 0;
    int32_t e = link.readByte(static_cast<uint8_t>(base + 8 + 2 * i), rpm);
    if (e != 0) return e;
    if (rpm == kEndOfCurve) break;
    e = link.readByte(static_cast<uint8_t>(base + 9 + 2 * i), angleByte);
    if (e != 0) return e;
    const int32_t angle = signedByte(static_cast<uint8_t>((angleByte - offset) & 0xFF));
    if (rpm == 0) break;
    if (limiterByte != 0) {
      if (rpm > limiterByte) break;
      if (rpm == limiterByte && previousAngle == angle) break;
    }
    // A module may hold what the list refuses (an rpm twice, more than 17
    // points); the list keeps what it can take.
    list.addCurveEntry(byteToRpm(rpm), angle);
    previousAngle = angle;
  }
  return 0;
}

}  // namespace ignition
