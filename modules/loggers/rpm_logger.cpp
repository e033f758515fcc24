#include "modules/loggers/rpm_logger.h"

#include "shell/version_text.h"
#include "texts/logger_text_ids.h"
#include "texts/text_ids.h"

namespace loggers {

namespace {

constexpr int64_t kPeriodScale = 3750000;

int32_t start(buslink::ModuleLink& link, std::string& versionText) {
  int32_t e = link.selectModule(kRpmLoggerAddress);
  if (e != 0) return e;
  link.sendWakeByte();
  uint16_t version = 0;
  e = link.readFirmwareVersion(version);
  if (e == 0) versionText = shell::versionText(version);
  return e;
}

int32_t clearStatistics(buslink::ModuleLink& link, RpmLoggerValues& v) {
  int32_t e = link.writeWord(40, kNoPeriod);
  if (e == 0) v.maxSpeed = 0;
  if (e == 0) e = link.writeWord(64, 0);
  if (e == 0) e = link.writeByte(66, 0);
  if (e == 0) v.totalMs = 0;
  if (e == 0) e = link.writeWord(48, 0);
  if (e == 0) e = link.writeWord(50, 0);
  if (e == 0) e = link.writeWord(52, 0);
  if (e == 0) v.count5to49 = v.count50to511 = v.countOver511 = 0;
  return e;
}

}  // namespace

int32_t speedFromPeriod(int32_t strokes, int32_t cylinders, int32_t period) {
  const int64_t divisor = static_cast<int64_t>(period) * cylinders;
  return divisor == 0 ? 0 : static_cast<int32_t>(strokes * kPeriodScale / divisor);
}

bool cylindersValid(int32_t z) {
  return z >= 2 && z <= 12;
}
bool strokesValid(int32_t t) {
  return t == 2 || t == 4;
}

int32_t readRpmLogger(buslink::ModuleLink& link, RpmLoggerValues& v, std::string& versionText) {
  if (const int32_t e = start(link, versionText); e != 0) return e;
  uint8_t z = 0, t = 0, timeLow = 0;
  uint16_t limit = 0, shortest = 0, timeHigh = 0, c1 = 0, c2 = 0, c3 = 0;
  const bool ok = link.readByte(16, z) == 0 && link.readByte(17, t) == 0 &&
                  link.readWord(32, limit) == 0 && link.readWord(40, shortest) == 0 &&
                  link.readWord(64, timeHigh) == 0 && link.readByte(66, timeLow) == 0 &&
                  link.readWord(48, c1) == 0 && link.readWord(50, c2) == 0 &&
                  link.readWord(52, c3) == 0;
  if (!ok) return texts::kTextReadFailed;
  v.cylinders = z;
  v.strokes = t;
  v.limit = speedFromPeriod(t, z, limit);
  // 0xFFFF is no period at all: no speed was seen above the limit yet.
  v.maxSpeed = shortest == kNoPeriod ? 0 : speedFromPeriod(t, z, shortest);
  v.totalMs = (timeHigh * 256 + timeLow) * 2;
  v.count5to49 = c1;
  v.count50to511 = c2;
  v.countOver511 = c3;
  return texts::kTextLoggerReadOk;
}

int32_t writeRpmLogger(buslink::ModuleLink& link, RpmLoggerValues& v, std::string& versionText) {
  if (!cylindersValid(v.cylinders) || !strokesValid(v.strokes) || v.limit <= 0) {
    return texts::kTextParameterOutOfRange;
  }
  const int64_t period = v.strokes * kPeriodScale / (static_cast<int64_t>(v.limit) * v.cylinders);
  // A period that does not fit the module's word would be cut to another limit.
  if (period < 1 || period > 0xFFFF) return texts::kTextParameterOutOfRange;
  if (const int32_t e = start(link, versionText); e != 0) return e;
  const bool ok = link.writeByte(16, static_cast<uint32_t>(v.cylinders)) == 0 &&
                  link.writeByte(17, static_cast<uint32_t>(v.strokes)) == 0 &&
                  link.writeWord(32, static_cast<uint32_t>(period)) == 0 &&
                  clearStatistics(link, v) == 0;
  return ok ? texts::kTextLoggerWriteOk : texts::kTextWriteFailed;
}

int32_t clearRpmLogger(buslink::ModuleLink& link, RpmLoggerValues& v, std::string& versionText) {
  if (const int32_t e = start(link, versionText); e != 0) return e;
  return clearStatistics(link, v) == 0 ? 0 : texts::kTextWriteFailed;
}

}  // namespace loggers
