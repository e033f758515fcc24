#pragma once

#include <cstdint>
#include <string>

#include "link/module_link.h"
#include "modules/ignition/ignition_state.h"
#include "shell/user_prompts.h"

namespace ignition {

// Before dialog 160 opens: the module identified (firmware 0x504 or later,
// no newer program needed) and `FlagsB` read into the record. 0 when the
// dialog may open; else the text ID, shown, with the link closed.
int32_t startPinChange(IgnitionState& state, buslink::ModuleLink& link,
                       shell::UserPrompts& prompts);

// "Ok" of dialog 160: the PIN check first; then the new PIN when one was
// typed (four hexadecimal digits at most) and "Zünden sperren" into bit 4
// of `FlagsB`. The link is closed in every case. 0 or the failure's text ID.
int32_t applyPinChange(IgnitionState& state, buslink::ModuleLink& link, shell::UserPrompts& prompts,
                       const std::string& newPin, bool lockIgnition);

}  // namespace ignition
