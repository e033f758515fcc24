#pragma once

#include <cstdint>
#include <string>

#include "link/module_link.h"
#include "shell/user_prompts.h"

namespace ignition {

// Reads the module as "Lesen" does and saves its settings file into
// `folder` (created when missing), named by serial number, date and time, so
// that a module whose settings a firmware update reset can be written back.
// 0, or the text ID of the failure (shown already).
int32_t backupIgnitionSettings(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                               const std::string& folder, std::string& fileName);

}  // namespace ignition
