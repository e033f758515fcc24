#include "modules/ignition/conversions.h"
#include "modules/ignition/ignition_io.h"
#include "modules/ignition/vehicle_info.h"
#include "modules/ignition/version_gates.h"
#include "modules/ignition/write_curve.h"
#include "shell/message_helpers.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace ignition {

namespace {

constexpr int32_t kWriteSteps = 200;
constexpr int32_t kOffsetBias = 128;

// A value below 0 must not wrap into a plausible byte: writeByte refuses
// anything above 255 with 8045.
uint32_t byteValue(int32_t value) {
  return value < 0 ? 256u : static_cast<uint32_t>(value);
}

// Writes one byte after another, keeping the first error.
class Writer {
 public:
  explicit Writer(buslink::ModuleLink& link) : link_(link) {}
  void operator()(uint8_t address, uint32_t value) {
    if (error_ == 0) error_ = link_.writeByte(address, value);
  }
  int32_t error() const { return error_; }

 private:
  buslink::ModuleLink& link_;
  int32_t error_ = 0;
};

int32_t writeBaseValues(IgnitionState& state, Writer& write) {
  IgnitionRecord& r = state.record;
  r.LadezeitUrsprung = r.Ladezeit;
  r.limiterRpm = state.limiterEdit;
  write(addr::kZylinder, r.Zylinder);
  write(addr::kTakte, r.Takte);
  write(addr::kLadezeit, r.Ladezeit);
  write(addr::kLadezeitUrsprung, r.Ladezeit);
  write(addr::kStartZeit, r.StartZeit);
  write(addr::kLimiter, byteValue(rpmToByte(r.limiterRpm)));
  write(addr::kLimiterZahl, r.LimiterZahl);
  write(addr::kFlags, r.Flags);
  write(addr::kFlagsB, r.FlagsB);
  write(addr::kFlagsC, r.FlagsC);
  write(addr::kFlagsD, r.FlagsD);
  write(addr::kVersatz, r.Versatz);
  write(addr::kLogModus, r.LogModus);
  write(addr::kGeberModus, r.GeberModus);
  write(addr::kHwLimiterStart, r.HwLimiter[0]);
  write(addr::kHwLimiterStep, r.HwLimiter[1]);
  return write.error();
}

int32_t writeCurves(IgnitionState& state, buslink::ModuleLink& link, shell::UserPrompts& prompts) {
  const IgnitionRecord& r = state.record;
  int32_t e = writeCurve(link, prompts, addr::kCurve1Base, state.curve1, r.Offset, r.limiterRpm,
                         r.firmwareVersion);
  if (e == 0) {
    e = writeCurve(link, prompts, addr::kCurve2Base, state.curve2, r.Offset, r.limiterRpm,
                   r.firmwareVersion);
  }
  return e;
}

// Everything that can refuse the write without asking the module is decided
// before the first byte goes out, so a refusal never leaves the module half
// written (new sender flags with the old tooth count, say) and unrestarted.
int32_t checkBeforeWriting(const IgnitionState& state, shell::UserPrompts& prompts) {
  const IgnitionRecord& r = state.record;
  auto fitsRpmByte = [](int64_t rpm) { return rpm >= 0 && (rpm + 25) / 50 <= 255; };
  if (!fitsRpmByte(state.limiterEdit) || !fitsRpmByte(r.SchaltBlitz) || r.Offset < -10 ||
      r.Offset > 10) {
    return texts::kTextParameterOutOfRange;
  }
  for (const CurveList* curve : {&state.curve1, &state.curve2}) {
    CurvePlan plan = planCurve(*curve, r.Offset, state.limiterEdit, r.firmwareVersion);
    if (plan.status == 1) prompts.showMessage(texts::kTextCheckCurveAndOffset);
    if (plan.status != 0) return plan.status;
  }
  return 0;
}

int32_t writeExtendedValues(const IgnitionRecord& r, Writer& write) {
  write(addr::kOffset, byteValue(r.Offset + kOffsetBias));
  for (int i = 0; i < 12; ++i) {
    write(static_cast<uint8_t>(addr::kKorrektur + i), static_cast<uint8_t>(r.Korrektur[i]));
  }
  write(addr::kUnterDruckSensorF, r.UnterDruckSensorF);
  write(addr::kUnterDruckSensorC, r.UnterDruckSensorC);
  for (int i = 0; i < kPressurePoints; ++i) {
    write(static_cast<uint8_t>(addr::kPressureA + 2 * i), r.UnterDruckA.pressure[i]);
    write(static_cast<uint8_t>(addr::kPressureA + 2 * i + 1),
          static_cast<uint8_t>(r.UnterDruckA.angle[i]));
    write(static_cast<uint8_t>(addr::kPressureB + 2 * i), r.UnterDruckB.pressure[i]);
    write(static_cast<uint8_t>(addr::kPressureB + 2 * i + 1),
          static_cast<uint8_t>(r.UnterDruckB.angle[i]));
  }
  write(addr::kKwZaehne, r.KwZaehne);
  write(addr::kKwLuecke, r.KwLuecke);
  write(addr::kSchaltBlitz, byteValue(rpmToByte(r.SchaltBlitz)));
  for (int i = 0; i < 8; ++i)
    write(static_cast<uint8_t>(addr::kKanalTabelle + i), r.KanalTabelle[i]);
  return write.error();
}

}  // namespace

int32_t writeIgnition(IgnitionState& state, buslink::ModuleLink& link,
                      shell::UserPrompts& prompts) {
  IgnitionRecord& r = state.record;
  state.dumpPresent = false;
  if (!state.recordValid) {
    return shell::closeLinkAndShowMessage(link, prompts, texts::kTextReadModuleFirst, 0);
  }
  // A record read without the PIN has empty curve lists: writing it would
  // wipe the module's curves, even with the PIN given now.
  if (r.pinLockedRead) return texts::kTextWriteLocked;

  int32_t e = versionCheck(state, link, prompts, CheckMode::Writing);
  if (e != 0) return e;
  e = checkBeforeWriting(state, prompts);
  // A curve that does not fit has been reported already.
  if (e == 1) return 0;
  if (e != 0) return e;
  shell::openWaitWindow(link, prompts, kWriteSteps, texts::kTextWritingModule);

  Writer write(link);
  e = writeBaseValues(state, write);
  if (e == 0) e = writeCurves(state, link, prompts);
  // A curve that does not fit has been reported already.
  if (e == 1) return 0;
  if (e == 0) e = writeExtendedValues(r, write);
  if (e == 0 && gates::hasFlagsCAndVehicleInfo(r.firmwareVersion) &&
      gates::writesVehicleInfo(r.firmwareVersionWord)) {
    e = writeVehicleInfo(link, r);
  }
  if (e != 0) return e;

  foldTemperatureMaximum(state, link, prompts);
  e = link.restartModule();
  if (e != 0) return e;
  link.close();
  return texts::kTextWriteOk;
}

}  // namespace ignition
