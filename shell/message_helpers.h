#pragma once

#include <cstdint>

#include "link/module_link.h"
#include "shell/user_prompts.h"

namespace shell {

// Closes the link's port first, so that the port is free while the message
// is up, then shows the text. Returns `passThrough`, so a page can tell the
// user and return a status in one step.
int32_t closeLinkAndShowMessage(buslink::ModuleLink& link, UserPrompts& prompts, int32_t textId,
                                int32_t passThrough);

// The end of every module operation: closes the wait window and the port,
// then shows `result` unless it is 0 (success) or 8000 (the user cancelled,
// who needs no message about it). Returns 0.
int32_t finishOperation(buslink::ModuleLink& link, UserPrompts& prompts, int32_t result);

// Opens the wait window and lets the link step its bar once per frame sent.
void openWaitWindow(buslink::ModuleLink& link, UserPrompts& prompts, int32_t steps, int32_t textId);
// Detaches the bar from the link and closes the wait window.
void closeWaitWindow(buslink::ModuleLink& link, UserPrompts& prompts);

}  // namespace shell
