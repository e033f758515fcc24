#pragma once

#include <string>

namespace shell {

// The maker's folder in the user's documents: documents folder + "/ZEB".
std::string makerDocumentsFolder();

}  // namespace shell
