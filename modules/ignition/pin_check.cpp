#include "modules/ignition/pin_check.h"

#include <cctype>

#include "modules/ignition/ignition_io.h"
#include "texts/ignition_text_ids.h"

namespace ignition {

int32_t tryPin(buslink::ModuleLink& link, uint16_t value, bool& accepted) {
  accepted = false;
  uint8_t code = pin::kTryHighCode;
  uint8_t byte = static_cast<uint8_t>(value >> 8);
  int32_t e = link.specialFunction(code, byte);
  if (e != 0) return e;
  code = pin::kTryLowCode;
  byte = static_cast<uint8_t>(value & 0xFF);
  e = link.specialFunction(code, byte);
  if (e != 0) return e;
  accepted = byte != 0;
  return 0;
}

uint16_t parsePinText(const std::string& text) {
  uint32_t value = 0;
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  for (; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    value = (value << 4) | static_cast<uint32_t>(c <= '9' ? c - '0' : c - 'a' + 10);
    if (value > 0xFFFF) return 0;
  }
  return static_cast<uint16_t>(value);
}

namespace {

// Without a dialog: one answer, one try. A wrong PIN is not asked for again
// here, because a caller that answers from a script would use up the
// module's tries with the same wrong PIN.
int32_t askForPin(IgnitionRecord& record, buslink::ModuleLink& link, shell::UserPrompts& prompts) {
  std::string typed;
  if (!prompts.askText(texts::kTextEnterPin, typed, pin::kTextSize)) return texts::kTextWriteLocked;
  const PinTry t = enterPinOnce(record, link, prompts, typed);
  return t.status == kPinTryAgain ? texts::kTextWriteLocked : t.status;
}

}  // namespace

PinTry enterPinOnce(IgnitionRecord& record, buslink::ModuleLink& link, shell::UserPrompts& prompts,
                    const std::string& typed) {
  const uint16_t value = parsePinText(typed);
  if (value == 0) {
    link.close();
    return {texts::kTextWriteLocked, 0};
  }
  bool accepted = false;
  int32_t e = tryPin(link, value, accepted);
  if (e == 0 && accepted) {
    // Later operations give it to the module without asking.
    record.pin = value;
    link.close();
    return {0, 0};
  }
  if (e != 0) {
    link.close();
    return {e, 0};
  }
  prompts.showMessage(texts::kTextWrongPin);
  uint8_t code = pin::kStatusCode;
  uint8_t status = 0;
  e = link.specialFunction(code, status);
  uint8_t counter = 0;
  if (e == 0 && !(status & pin::kEntryBlocked)) e = link.readByte(addr::kWrongPinCounter, counter);
  if (e != 0) {
    link.close();
    return {e, 0};
  }
  if (status & pin::kEntryBlocked) {
    prompts.showMessage(texts::kTextWriteLocked);
    link.close();
    return {texts::kTextWriteLocked, 0};
  }
  return {kPinTryAgain, 5 - counter};
}

int32_t pinCheck(IgnitionRecord& record, buslink::ModuleLink& link, shell::UserPrompts& prompts,
                 PinEntry* entry) {
  uint16_t version = 0;
  int32_t e = link.selectModule(kIgnitionBusAddress);
  if (e == 0) e = link.readFirmwareVersion(version);
  if (e != 0) {
    prompts.showMessage(e);
    return texts::kTextWriteLocked;
  }
  record.firmwareVersion = version & 0xFFF;
  e = link.readRequiredSoftwareVersion(version);
  if (e != 0) return e;
  uint8_t code = pin::kStatusCode;
  uint8_t status = 0;
  e = link.specialFunction(code, status);
  if (e != 0) return e;
  if (status & pin::kEntryBlocked) return texts::kTextWriteLocked;
  if (!(status & pin::kPinSet) || (status & pin::kPinGiven)) return 0;
  if (record.pin != 0) {
    bool accepted = false;
    e = tryPin(link, record.pin, accepted);
    if (e != 0) return e;
    if (accepted) return 0;
    record.pin = 0;
  }
  e = entry != nullptr ? entry->enterPin(record, link, prompts) : askForPin(record, link, prompts);
  // The dialog ends with the port closed; the caller selects the module again.
  link.close();
  return e;
}

}  // namespace ignition
