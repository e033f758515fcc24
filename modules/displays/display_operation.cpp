#include "modules/displays/display_operation.h"

#include "shell/message_helpers.h"
#include "texts/display_text_ids.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace displays {

int32_t openDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts, uint8_t busAddress,
                    uint16_t& version) {
  link.selectModule(busAddress);
  const int32_t e = link.readFirmwareVersion(version);
  if (e == 0) return 0;
  prompts.showMessage(e);
  return kStatusReported;
}

int32_t openDisplayClosing(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                           uint8_t busAddress, uint16_t& version) {
  int32_t e = link.selectModule(busAddress);
  if (e == 0) e = link.readFirmwareVersion(version);
  if (e == 0) return 0;
  return shell::closeLinkAndShowMessage(link, prompts, e, kStatusReported);
}

int32_t outcomeText(Operation operation, int32_t status) {
  const bool read = operation == Operation::Read;
  if (status == 0) return read ? texts::kTextReadOk : texts::kTextWriteOk;
  if (status == kStatusReported) return 0;
  return read ? texts::kTextDisplayReadError : texts::kTextDisplayWriteError;
}

void reportOutcome(buslink::ModuleLink& link, shell::UserPrompts& prompts, Operation operation,
                   int32_t status) {
  const int32_t text = outcomeText(operation, status);
  if (text == 0) return;
  if (status != 0) link.close();
  prompts.showMessage(text);
}

int32_t restartAndClose(buslink::ModuleLink& link) {
  const int32_t e = link.restartModule();
  link.close();
  return e == 0 ? 0 : kStatusRestart;
}

int32_t runDisplayTest(buslink::ModuleLink& link, shell::UserPrompts& prompts, uint8_t busAddress,
                       std::span<const uint8_t> channels, bool messagePerChannel) {
  uint16_t version = 0;
  if (openDisplayClosing(link, prompts, busAddress, version) != 0) return kStatusReported;
  for (uint8_t channel : channels) {
    link.displayControl(channel, 14);
    if (messagePerChannel) prompts.showMessage(texts::kTextDisplayTestEnd);
  }
  if (!messagePerChannel) prompts.showMessage(texts::kTextDisplayTestEnd);
  link.restartModule();
  link.close();
  return 0;
}

int32_t checkRange(int32_t value, int32_t low, int32_t high) {
  return value >= low && value <= high ? 0 : texts::kTextParameterOutOfRange;
}

int32_t readWordAt(buslink::ModuleLink& link, uint8_t address, int32_t& value) {
  uint16_t w = 0;
  const int32_t e = link.readWord(address, w);
  if (e == 0) value = w;
  return e;
}

}  // namespace displays
