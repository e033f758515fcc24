#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "link/module_link.h"

namespace cli {

// "carlogger", "lambda", "rpmlogger", "seriallogger".
bool isLoggerCommand(const std::string& command);

// The data loggers' page operations (args start with the command's name).
// 0 on success, -1 for a usage error (told on `err`), else a text ID or 1
// when the failure has been printed already.
int32_t runLoggerCommand(buslink::ModuleLink& link, const std::vector<std::string>& args,
                         std::ostream& out, std::ostream& err);

}  // namespace cli
