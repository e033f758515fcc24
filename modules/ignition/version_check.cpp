#include <cstdio>

#include "modules/ignition/capabilities.h"
#include "modules/ignition/ignition_io.h"
#include "modules/ignition/pin_check.h"
#include "modules/ignition/version_gates.h"
#include "shell/version_text.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace ignition {

namespace {

// This program's version as the modules know it; a module that needs a
// newer program is refused.
constexpr uint32_t kProgramVersion = 0x0605;

// A sleeping module misses the first request; one pulse on the line wakes it.
int32_t readVersionWaking(buslink::ModuleLink& link, uint16_t& version) {
  int32_t e = link.readFirmwareVersion(version);
  if (e != texts::kTextModuleNotFound) return e;
  e = link.sendWakePulse();
  // The pulse reopens the port; a failed reopen is a port the user can fix,
  // not a text-less code.
  if (e < 0) return texts::kTextCannotOpenPort;
  if (e != 0) return e;
  return link.readFirmwareVersion(version);
}

int32_t readFactoryValues(IgnitionRecord& r, buslink::ModuleLink& link) {
  uint8_t high = 0;
  uint8_t low = 0;
  int32_t e = link.readByte(addr::kUHkz, r.UHkz);
  if (e == 0) e = link.readByte(addr::kHwLimiterStart, r.HwLimiter[0]);
  if (e == 0) e = link.readByte(addr::kHwLimiterStep, r.HwLimiter[1]);
  if (e == 0) e = link.readByte(addr::kBetriebsDauer, high);
  if (e == 0) e = link.readByte(addr::kBetriebsDauer + 1, low);
  if (e == 0) r.BetriebsDauer = high * 256 + low;
  return e;
}

}  // namespace

int32_t versionCheck(IgnitionState& state, buslink::ModuleLink& link, shell::UserPrompts& prompts,
                     CheckMode mode) {
  IgnitionRecord& r = state.record;
  int32_t e = link.selectModule(kIgnitionBusAddress);
  if (e != 0) return e;
  link.checkLineIdle();

  uint16_t word = 0;
  e = readVersionWaking(link, word);
  if (e != 0) return e;
  state.versionText = shell::versionText(word);

  uint16_t type = 0;
  e = link.readTypeId(type);
  if (e != 0) return e;
  r.HwTyp = type;
  deriveCapabilities(r);
  state.typeText = hardwareTypeName(r.HwTyp);

  const int32_t version = word & 0xFFF;
  if (gates::checksEngineAndRequiredSoftware(version)) {
    uint16_t period = 0;
    e = link.readPeriod(period);
    if (e != 0) return e;
    if (period != 0) return texts::kTextEngineRunning;
  }

  uint16_t required = 0;
  if (gates::isOldFirmware(version)) {
    if (mode == CheckMode::Reading) {
      prompts.showMessage(texts::kTextOldFirmware);
    } else if (!prompts.askYesNo(texts::kTextOldFirmwareWrite)) {
      return texts::kTextCancelled;
    }
    if (gates::checksEngineAndRequiredSoftware(version)) {
      e = link.readRequiredSoftwareVersion(required);
      if (e != 0) return e;
    }
  } else {
    e = link.readRequiredSoftwareVersion(required);
    if (e != 0) return e;
    if (shell::isVersionOlder(required, kProgramVersion)) return texts::kTextSoftwareTooOld;
  }

  r.firmwareVersionWord = word;
  r.firmwareVersion = version;

  e = link.readSerialNumber(r.SerienNummer);
  if (e != 0) return e;
  char serial[16];
  std::snprintf(serial, sizeof serial, "%07u", r.SerienNummer);
  state.serialText = serial;

  e = readFactoryValues(r, link);
  if (e != 0) return e;

  if (gates::hasPin(version)) {
    e = pinCheck(r, link, prompts, state.pinEntry);
    if (e == texts::kTextWriteLocked) {
      if (mode == CheckMode::Writing) return e;
      // Only a read decides this: it tells a later write that the curve
      // lists do not hold the module's curves.
      r.pinLockedRead = 1;
      prompts.showMessage(texts::kTextWriteLocked);
    } else if (e != 0) {
      // A link failure is no proof that the module has no PIN.
      return e;
    } else if (mode == CheckMode::Reading) {
      r.pinLockedRead = 0;
    }
    e = link.selectModule(kIgnitionBusAddress);
    if (e != 0) return e;
  }
  return 0;
}

}  // namespace ignition
