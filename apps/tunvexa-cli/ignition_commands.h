#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "modules/ignition/ignition_state.h"

namespace cli {

// Failure whose message has been printed already.
constexpr int32_t kReported = 1;

// "ignition read|write|show ...": args start after "ignition". 0 on
// success, -1 for a usage error (told on `err`), else kReported.
int32_t runIgnitionCommand(buslink::ModuleLink& link, const std::vector<std::string>& args,
                           std::ostream& out, std::ostream& err);

// The record and both curves as text, one value per line.
void printIgnition(const ignition::IgnitionState& state, std::ostream& out);

}  // namespace cli
