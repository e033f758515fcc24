#pragma once

#include <string>
#include <vector>

namespace platform {

// The program `name` as the running program finds it: beside its own
// executable, in the build tree's sibling folder (apps/NAME/NAME), else the
// bare name for a search along PATH.
std::string siblingProgram(const std::string& name);

// Starts `program` with `arguments` and does not wait for it; the child is
// reaped when it ends. False with the reason when it could not be started.
bool startProgram(const std::string& program, const std::vector<std::string>& arguments,
                  std::string& why);

}  // namespace platform
