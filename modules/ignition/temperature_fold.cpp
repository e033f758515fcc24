#include "modules/ignition/ignition_io.h"

namespace ignition {

namespace {
// The absolute maximum of a module that never recorded one.
constexpr uint8_t kNoMaximum = 255;
}  // namespace

int32_t foldTemperatureMaximum(IgnitionState& state, buslink::ModuleLink& link,
                               shell::UserPrompts& prompts) {
  uint16_t version = 0;
  int32_t e = link.selectModule(kIgnitionBusAddress);
  if (e == 0) e = link.readFirmwareVersion(version);
  if (e != 0) {
    prompts.showMessage(e);
    return e;
  }
  state.record.firmwareVersion = version & 0xFFF;
  uint8_t relative = 0;
  uint8_t absolute = 0;
  e = link.readByte(addr::kMaxTempRelative, relative);
  if (e == 0) e = link.readByte(addr::kMaxTempAbsolute, absolute);
  if (e != 0) return e;
  // Raw readings rise with the temperature.
  if (relative > absolute || absolute == kNoMaximum) {
    e = link.writeByte(addr::kMaxTempAbsolute, relative);
    if (e != 0) return e;
  }
  return link.writeByte(addr::kMaxTempRelative, 0);
}

}  // namespace ignition
