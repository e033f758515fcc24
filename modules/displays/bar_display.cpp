#include "modules/displays/bar_display.h"

#include "modules/displays/display_kind.h"
#include "modules/displays/display_operation.h"
#include "shell/message_helpers.h"
#include "texts/display_text_ids.h"
#include "texts/text_ids.h"

namespace displays {

namespace {

constexpr uint8_t kSpecialFunction = 14;

// Steps 1 to 4 of write and test: select, no-reply mode, the display by
// its serial number. 0, or the text of a failed selection.
int32_t selectBarDisplay(buslink::ModuleLink& link, const BarDisplaySettings& s) {
  const int32_t e = link.selectModule(displayInfo(DisplayKind::Bar).busAddress);
  if (e != 0) return e;
  link.setNoReply(1);
  // The top byte goes out whole: its high nibble names the display in the
  // housing, which selectBySerial would refuse.
  const uint32_t bcd = barBusSerialBcd(s.serialNumber, s.displayNumber);
  link.selectSerialHigh(static_cast<uint8_t>(bcd >> 24), static_cast<uint8_t>(bcd >> 16));
  link.selectSerialLow(static_cast<uint8_t>(bcd >> 8), static_cast<uint8_t>(bcd));
  return 0;
}

void endBarOperation(buslink::ModuleLink& link) {
  link.restartModule();
  link.setNoReply(0);
  link.close();
}

}  // namespace

uint32_t barBusSerialBcd(int32_t serialNumber, int32_t displayNumber) {
  int64_t number = serialNumber;
  if (displayNumber >= 2) number += static_cast<int64_t>(displayNumber - 1) * 10000000;
  uint32_t bcd = 0;
  for (int digit = 0; digit < 8; ++digit) {
    bcd |= static_cast<uint32_t>(number % 10) << (4 * digit);
    number /= 10;
  }
  return bcd;
}

int32_t checkBarDisplay(const BarDisplaySettings& s) {
  for (int32_t e : {checkRange(s.serialNumber, 1000000, 9999999), checkRange(s.displayNumber, 0, 9),
                    checkRange(s.displayAddress, 0, 255), checkRange(s.startValue, 1, 30000),
                    checkRange(s.step, 1, 30000), checkRange(s.brightness, 0, 255)}) {
    if (e != 0) return e;
  }
  return 0;
}

int32_t writeBarDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        const BarDisplaySettings& s) {
  if (int32_t e = checkBarDisplay(s); e != 0) {
    prompts.showMessage(e);
    return e;
  }
  if (int32_t e = selectBarDisplay(link, s); e != 0) {
    return shell::closeLinkAndShowMessage(link, prompts, e, e);
  }
  // The display never answers; waiting for a reply would only cost the
  // time-out, so the special function goes out as a bare frame.
  link.sendFrame(static_cast<uint8_t>(link.busAddress() | kSpecialFunction), 1, 8);
  if (link.writeByte(bar_addr::kBrightness, static_cast<uint32_t>(s.brightness)) != 0) {
    link.setNoReply(0);
    return shell::closeLinkAndShowMessage(link, prompts, texts::kTextAdapterNotFound,
                                          texts::kTextAdapterNotFound);
  }
  link.writeByte(bar_addr::kDisplayAddress, static_cast<uint32_t>(s.displayAddress));
  link.writeByte(bar_addr::kMode, s.mode);
  link.writeByte(bar_addr::kFlags, s.flags);
  link.writeWord(bar_addr::kStep, static_cast<uint32_t>(s.step));
  link.writeWord(bar_addr::kStartValue, static_cast<uint32_t>(s.startValue));
  endBarOperation(link);
  prompts.showMessage(texts::kTextBarProgrammed);
  return 0;
}

int32_t BarDisplayTest::start(const BarDisplaySettings& s) {
  pattern_ = 0;
  if (int32_t e = checkRange(s.serialNumber, 1000000, 9999999); e != 0) {
    prompts_.showMessage(e);
    return e;
  }
  if (int32_t e = selectBarDisplay(link_, s); e != 0) {
    return shell::closeLinkAndShowMessage(link_, prompts_, e, e);
  }
  return 0;
}

void BarDisplayTest::tick() {
  pattern_ = pattern_ % kPatterns + 1;
  link_.displayControl(0, static_cast<uint8_t>(pattern_));
}

void BarDisplayTest::finish() {
  endBarOperation(link_);
}

}  // namespace displays
