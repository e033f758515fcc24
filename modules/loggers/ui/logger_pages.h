#pragma once

#include <cstdint>
#include <memory>

#include "shell/ui/module_page.h"

namespace buslink {
class ModuleLink;
}
namespace shell {
class SettingsFile;
class UserPrompts;
}  // namespace shell

namespace loggers {

// The page of a data logger (206, 208, 209, 214); nullptr for other ids.
std::unique_ptr<shell::ModulePage> makeLoggerPage(int32_t pageId, shell::SettingsFile& settings,
                                                  buslink::ModuleLink& link,
                                                  shell::UserPrompts& prompts);

}  // namespace loggers
