#include <cstdio>

#include "modules/ignition/conversions.h"
#include "modules/ignition/ignition_io.h"
#include "modules/ignition/read_curve.h"
#include "modules/ignition/vehicle_info.h"
#include "modules/ignition/version_gates.h"
#include "shell/message_helpers.h"
#include "texts/ignition_text_ids.h"

namespace ignition {

namespace {

constexpr int32_t kReadSteps = 200;
constexpr int32_t kOffsetBias = 128;
constexpr int32_t kMaxOffset = 10;
// Live value 0 above this: the module has a temperature sensor.
constexpr uint16_t kNoTemperatureSensor = 3;

// Reads one byte after another into the record, keeping the first error.
class Reader {
 public:
  explicit Reader(buslink::ModuleLink& link) : link_(link) {}
  void operator()(uint8_t address, uint8_t& value) {
    if (error_ == 0) error_ = link_.readByte(address, value);
  }
  void signedByte(uint8_t address, int8_t& value) {
    uint8_t raw = 0;
    (*this)(address, raw);
    value = static_cast<int8_t>(raw);
  }
  int32_t error() const { return error_; }

 private:
  buslink::ModuleLink& link_;
  int32_t error_ = 0;
};

// A flag byte the firmware does not have, or one never programmed, is 0.
uint8_t flagByte(uint8_t value, bool present) {
  return present && value != 255 ? value : 0;
}

int32_t readBaseValues(IgnitionState& state, Reader& read, uint8_t& limiterByte) {
  IgnitionRecord& r = state.record;
  const int32_t v = r.firmwareVersion;
  uint8_t offset = 0;
  read(addr::kZylinder, r.Zylinder);
  read(addr::kTakte, r.Takte);
  read(addr::kLadezeit, r.Ladezeit);
  read(addr::kLadezeitUrsprung, r.LadezeitUrsprung);
  read(addr::kStartZeit, r.StartZeit);
  read(addr::kOffset, offset);
  r.Offset = offset - kOffsetBias;
  if (r.Offset < -kMaxOffset || r.Offset > kMaxOffset) r.Offset = 0;
  read(addr::kLimiter, limiterByte);
  state.limiterEdit = byteToRpm(limiterByte);
  read(addr::kLimiterZahl, r.LimiterZahl);
  read(addr::kFlags, r.Flags);
  read(addr::kFlagsB, r.FlagsB);
  r.FlagsB = flagByte(r.FlagsB, gates::hasFlagsB(v));
  read(addr::kFlagsC, r.FlagsC);
  r.FlagsC = flagByte(r.FlagsC, gates::hasFlagsCAndVehicleInfo(v));
  read(addr::kFlagsD, r.FlagsD);
  r.FlagsD = flagByte(r.FlagsD, gates::hasFlagsD(v));
  read(addr::kVersatz, r.Versatz);
  read(addr::kLogModus, r.LogModus);
  read(addr::kGeberModus, r.GeberModus);
  return read.error();
}

int32_t readCurves(IgnitionState& state, buslink::ModuleLink& link, uint8_t limiterByte) {
  state.curve1.clear();
  state.curve2.clear();
  // Without the PIN the curves stay the module's secret.
  if (state.record.pinLockedRead) return 0;
  const int32_t offset = state.record.Offset;
  int32_t e = readCurve(link, addr::kCurve1Base, offset, limiterByte, state.curve1);
  if (e == 0) e = readCurve(link, addr::kCurve2Base, offset, limiterByte, state.curve2);
  return e;
}

int32_t readTemperatures(IgnitionState& state, buslink::ModuleLink& link, Reader& read) {
  IgnitionRecord& r = state.record;
  uint16_t live = 0;
  int32_t e = link.readLiveValue(0, live);
  if (e != 0) return e;
  if (live <= kNoTemperatureSensor) return 0;
  read(addr::kMaxTempRelative, r.maxTempRelative);
  read(addr::kMaxTempAbsolute, r.maxTempAbsolute);
  if (read.error() != 0) return read.error();
  char text[32] = "Max:";
  if (ktyInRange(r.maxTempRelative)) {
    std::snprintf(text, sizeof text, "Max: %3i", ktyTemperature(r.maxTempRelative));
  }
  // assign, not "=": GCC 12 at -O3 reports a false -Wrestrict for the latter.
  state.temperatureText.assign(1, ' ');
  state.maxTemperatureText = text;
  return 0;
}

int32_t readExtendedValues(IgnitionRecord& r, Reader& read) {
  uint8_t schaltBlitz = 0;
  for (int i = 0; i < 12; ++i)
    read.signedByte(static_cast<uint8_t>(addr::kKorrektur + i), r.Korrektur[i]);
  read(addr::kUnterDruckSensorF, r.UnterDruckSensorF);
  read(addr::kUnterDruckSensorC, r.UnterDruckSensorC);
  for (int i = 0; i < kPressurePoints; ++i) {
    read(static_cast<uint8_t>(addr::kPressureA + 2 * i), r.UnterDruckA.pressure[i]);
    read.signedByte(static_cast<uint8_t>(addr::kPressureA + 2 * i + 1), r.UnterDruckA.angle[i]);
    read(static_cast<uint8_t>(addr::kPressureB + 2 * i), r.UnterDruckB.pressure[i]);
    read.signedByte(static_cast<uint8_t>(addr::kPressureB + 2 * i + 1), r.UnterDruckB.angle[i]);
  }
  read(addr::kKwZaehne, r.KwZaehne);
  read(addr::kKwLuecke, r.KwLuecke);
  read(addr::kSchaltBlitz, schaltBlitz);
  r.SchaltBlitz = byteToRpm(schaltBlitz);
  for (int i = 0; i < 8; ++i)
    read(static_cast<uint8_t>(addr::kKanalTabelle + i), r.KanalTabelle[i]);
  return read.error();
}

}  // namespace

int32_t readIgnition(IgnitionState& state, buslink::ModuleLink& link, shell::UserPrompts& prompts) {
  IgnitionRecord& r = state.record;
  state.dumpPresent = false;
  resetRecord(r);
  state.recordValid = false;

  int32_t e = versionCheck(state, link, prompts, CheckMode::Reading);
  if (e != 0) return e;
  shell::openWaitWindow(link, prompts, kReadSteps, texts::kTextReadingModule);

  Reader read(link);
  uint8_t limiterByte = 0;
  e = readBaseValues(state, read, limiterByte);
  if (e == 0) e = readCurves(state, link, limiterByte);
  if (e != 0) return e;
  // Old firmware keeps nothing more that this program understands; its
  // record stays unfit for writing.
  if (gates::readStopsAfterCurves(r.firmwareVersion)) return texts::kTextReadOk;

  e = readTemperatures(state, link, read);
  if (e == 0) e = readExtendedValues(r, read);
  if (e == 0 && gates::hasFlagsCAndVehicleInfo(r.firmwareVersion)) e = readVehicleInfo(link, r);
  if (e != 0) return e;

  applyPlausibility(r);
  link.close();
  state.recordValid = true;
  reevaluateDirectMode(state);
  return texts::kTextReadOk;
}

}  // namespace ignition
