#include "shell/message_helpers.h"

#include "texts/text_ids.h"

namespace shell {

int32_t closeLinkAndShowMessage(buslink::ModuleLink& link, UserPrompts& prompts, int32_t textId,
                                int32_t passThrough) {
  link.close();
  prompts.showMessage(textId);
  return passThrough;
}

int32_t finishOperation(buslink::ModuleLink& link, UserPrompts& prompts, int32_t result) {
  closeWaitWindow(link, prompts);
  link.close();
  if (result != 0 && result != texts::kTextCancelled) prompts.showMessage(result);
  return 0;
}

void openWaitWindow(buslink::ModuleLink& link, UserPrompts& prompts, int32_t steps,
                    int32_t textId) {
  prompts.openWaitWindow(steps, textId);
  link.setProgressHook([&prompts] { prompts.stepWaitWindow(); });
}

void closeWaitWindow(buslink::ModuleLink& link, UserPrompts& prompts) {
  link.setProgressHook({});
  prompts.closeWaitWindow();
}

}  // namespace shell
