#pragma once

#include <cstdint>

#include "link/module_link.h"
#include "modules/ignition/ignition_state.h"
#include "shell/user_prompts.h"

// Reading and writing the ignition module at bus address 0xE0. Every
// operation returns 0 or a text ID; the page hands the results of
// readIgnition and writeIgnition to shell::finishOperation, which closes the
// wait window and the port and shows the text.
namespace ignition {

constexpr uint8_t kIgnitionBusAddress = 0xE0;

enum class CheckMode { Reading, Writing };

// Identification and version procedure that runs before every read and
// write: selects the module (waking it when it does not answer), fills the
// version, type and serial statics, refuses a running engine and a module
// that needs a newer program, warns about old firmware (asks before a
// write: 8000 when declined), reads the factory values and, from 0x504 on,
// asks for the module's PIN. 0 when the operation may go on.
int32_t versionCheck(IgnitionState& state, buslink::ModuleLink& link, shell::UserPrompts& prompts,
                     CheckMode mode);

// The whole record and both rpm curves; 8052 on success. A read without the
// PIN leaves the curve lists empty and the record marked as read locked.
int32_t readIgnition(IgnitionState& state, buslink::ModuleLink& link, shell::UserPrompts& prompts);

// The record and both curves into the module, then a restart; 8050 on
// success, 0 when a refusal has been shown already.
int32_t writeIgnition(IgnitionState& state, buslink::ModuleLink& link, shell::UserPrompts& prompts);

// Addresses 0x00-0xFF into the record's memory image for the next save.
// Reports its own failure.
void readMemoryImage(IgnitionState& state, buslink::ModuleLink& link, shell::UserPrompts& prompts);

// Keeps the hottest temperature ever seen in the absolute maximum (0x07)
// and restarts the relative one (0x03). 0 or the first link error; a
// failing version read is shown.
int32_t foldTemperatureMaximum(IgnitionState& state, buslink::ModuleLink& link,
                               shell::UserPrompts& prompts);

}  // namespace ignition
