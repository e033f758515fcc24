#include "modules/ignition/ignition_tools.h"

#include <algorithm>

#include "modules/ignition/ignition_io.h"
#include "shell/message_helpers.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace ignition {

namespace {

constexpr int32_t kTextStartRpmMeterTest = 9002;
constexpr int32_t kTextVersionTooOld = 8055;
constexpr int32_t kTextSwitchLoggingOff = 8010;
constexpr int32_t kTextReadModuleFirst = 8022;
constexpr uint8_t kRpmSignalCode = 0x21;
constexpr uint8_t kShiftCode = 0x13;
constexpr uint8_t kCurveCode = 0x14;
constexpr uint8_t kSecondSparkCode = 0x15;
constexpr int32_t kPortOpenFlag = 128;

int32_t special(buslink::ModuleLink& link, uint8_t code, int value) {
  uint8_t c = code;
  uint8_t v = static_cast<uint8_t>(value & 0xFF);
  return link.specialFunction(c, v);
}

// Selects the ignition and reads its firmware version into the record.
int32_t identify(IgnitionRecord& record, buslink::ModuleLink& link) {
  link.selectModule(kIgnitionBusAddress);
  uint16_t word = 0;
  const int32_t e = link.readFirmwareVersion(word);
  if (e == 0) record.firmwareVersion = word & 0xFFF;
  return e;
}

}  // namespace

uint8_t rpmMeterPeriod(uint8_t strokes, uint8_t cylinders, int32_t rpm) {
  if (rpm < 1) rpm = kRpmMeterStart;
  if (cylinders == 0) cylinders = 1;
  const int32_t base = strokes == 2 ? 480000 : 960000;
  return static_cast<uint8_t>(std::min(255, base / cylinders / rpm));
}

int32_t startRpmMeterTest(IgnitionState& state, buslink::ModuleLink& link,
                          shell::UserPrompts& prompts) {
  if (!prompts.askYesNo(kTextStartRpmMeterTest)) return texts::kTextCancelled;
  IgnitionRecord& r = state.record;
  int32_t e = identify(r, link);
  if (e == 0 && r.firmwareVersion < 0x702) {
    return shell::closeLinkAndShowMessage(link, prompts, kTextVersionTooOld, kTextVersionTooOld);
  }
  if (e == 0) e = link.setTestOutput(1, 0);
  if (e == 0) e = link.readByte(addr::kZylinder, r.Zylinder);
  if (e == 0) e = link.readByte(addr::kTakte, r.Takte);
  if (e != 0) return shell::closeLinkAndShowMessage(link, prompts, e, e);
  return 0;
}

int32_t sendRpmMeterPeriod(buslink::ModuleLink& link, const IgnitionRecord& record, int32_t rpm) {
  return special(link, kRpmSignalCode, rpmMeterPeriod(record.Takte, record.Zylinder, rpm));
}

int32_t startControl(IgnitionState& state, buslink::ModuleLink& link, shell::UserPrompts& prompts) {
  IgnitionRecord& r = state.record;
  const int32_t e = identify(r, link);
  if (e != 0) return shell::closeLinkAndShowMessage(link, prompts, e, e);
  if (r.firmwareVersion < 0x703) {
    return shell::closeLinkAndShowMessage(link, prompts, kTextVersionTooOld, kTextVersionTooOld);
  }
  if (r.Flags & bits::kFlagsLogging) {
    return shell::closeLinkAndShowMessage(link, prompts, kTextSwitchLoggingOff,
                                          kTextSwitchLoggingOff);
  }
  return 0;
}

int32_t controlTick(ControlState& c, buslink::ModuleLink& link) {
  const int step = c.tick++ % 3;
  if (step == 0) return special(link, kSecondSparkCode, c.secondSpark);
  if (step == 1) return special(link, kCurveCode, c.curve);
  return special(link, kShiftCode, c.shift);
}

int32_t setControlCurve(ControlState& c, buslink::ModuleLink& link, int curve) {
  c.curve = curve;
  return special(link, kCurveCode, c.curve);
}

int32_t setControlSecondSpark(ControlState& c, buslink::ModuleLink& link, bool on) {
  c.secondSpark = on ? 1 : 0;
  return special(link, kSecondSparkCode, c.secondSpark);
}

int32_t shiftControlCurve(ControlState& c, buslink::ModuleLink& link, int delta) {
  c.shift = std::clamp(c.shift + delta, -kShiftLimit, kShiftLimit);
  return special(link, kShiftCode, c.shift);
}

ViewerCall viewerCall(Viewer viewer, const IgnitionRecord& r, int32_t portNumber) {
  const std::string port = std::to_string(portNumber % kPortOpenFlag);
  if (viewer == Viewer::Taktora) {
    return {
        "taktora",
        {"-com", port, "-zahn", std::to_string(r.KwZaehne), "-luecke", std::to_string(r.KwLuecke)}};
  }
  const int cylinders = r.Takte == 2 ? r.Zylinder * 2 : r.Zylinder;
  return {"funkora", {"-com", port, "-zyl", std::to_string(cylinders)}};
}

int32_t startViewer(Viewer viewer, IgnitionState& state, buslink::ModuleLink& link,
                    shell::UserPrompts& prompts, const ProgramStarter& start, std::string& why) {
  if (!state.recordValid) {
    return shell::closeLinkAndShowMessage(link, prompts, kTextReadModuleFirst,
                                          kTextReadModuleFirst);
  }
  const int32_t port = link.portNumber();
  link.close();
  why.clear();
  if (start) start(viewerCall(viewer, state.record, port), why);
  return 0;
}

}  // namespace ignition
