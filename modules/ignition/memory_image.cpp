#include "modules/ignition/ignition_io.h"
#include "shell/message_helpers.h"
#include "texts/ignition_text_ids.h"

namespace ignition {

namespace {
constexpr int32_t kImageSteps = 256;
}  // namespace

void readMemoryImage(IgnitionState& state, buslink::ModuleLink& link, shell::UserPrompts& prompts) {
  uint16_t scratch = 0;
  int32_t e = link.selectModule(kIgnitionBusAddress);
  if (e == 0) e = link.readFirmwareVersion(scratch);
  if (e != 0) {
    shell::closeLinkAndShowMessage(link, prompts, e, 0);
    return;
  }
  shell::openWaitWindow(link, prompts, kImageSteps, texts::kTextMakingMemoryImage);
  // A byte that cannot be read keeps what the image held: the image is a
  // service aid, and one bad frame should not cost the other 255 bytes.
  for (int a = 0; a < 256; ++a) {
    link.readByte(static_cast<uint8_t>(a), state.record.memoryImage[a]);
  }
  state.dumpPresent = true;
  shell::closeWaitWindow(link, prompts);
  // The port is free between operations.
  link.close();
}

}  // namespace ignition
