#include "modules/ignition/pin_change.h"

#include "modules/ignition/ignition_io.h"
#include "modules/ignition/pin_check.h"
#include "shell/message_helpers.h"
#include "shell/version_text.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace ignition {

namespace {

constexpr int32_t kTextVersionTooOld = 8055;
constexpr uint32_t kProgramVersion = 0x0605;
constexpr uint8_t kNewPinHighCode = 0x43;
constexpr uint8_t kNewPinLowCode = 0x44;

}  // namespace

int32_t startPinChange(IgnitionState& state, buslink::ModuleLink& link,
                       shell::UserPrompts& prompts) {
  IgnitionRecord& r = state.record;
  link.selectModule(kIgnitionBusAddress);
  uint16_t word = 0;
  int32_t e = link.readFirmwareVersion(word);
  if (e == 0) {
    r.firmwareVersion = word & 0xFFF;
    if (r.firmwareVersion < 0x504) e = kTextVersionTooOld;
  }
  uint16_t required = 0;
  if (e == 0) e = link.readRequiredSoftwareVersion(required);
  if (e == 0 && shell::isVersionOlder(required, kProgramVersion)) e = texts::kTextSoftwareTooOld;
  if (e == 0) e = link.readByte(addr::kFlagsB, r.FlagsB);
  if (e != 0) return shell::closeLinkAndShowMessage(link, prompts, e, e);
  return 0;
}

int32_t applyPinChange(IgnitionState& state, buslink::ModuleLink& link, shell::UserPrompts& prompts,
                       const std::string& newPin, bool lockIgnition) {
  IgnitionRecord& r = state.record;
  int32_t e = pinCheck(r, link, prompts, state.pinEntry);
  if (e == 0) link.selectModule(kIgnitionBusAddress);
  if (e == 0 && !newPin.empty()) {
    const uint16_t pin = parsePinText(newPin);
    uint8_t code = kNewPinHighCode;
    uint8_t value = static_cast<uint8_t>(pin >> 8);
    e = link.specialFunction(code, value);
    if (e == 0) {
      code = kNewPinLowCode;
      value = static_cast<uint8_t>(pin & 0xFF);
      e = link.specialFunction(code, value);
    }
    // Later operations give the new PIN without asking.
    if (e == 0) r.pin = pin;
  }
  uint8_t flags = 0;
  if (e == 0) e = link.readByte(addr::kFlagsB, flags);
  if (e == 0) {
    flags = lockIgnition ? (flags | bits::kFlagsBLocked) : (flags & ~bits::kFlagsBLocked);
    e = link.writeByte(addr::kFlagsB, flags);
    if (e == 0) r.FlagsB = flags;
  }
  link.close();
  return e;
}

}  // namespace ignition
