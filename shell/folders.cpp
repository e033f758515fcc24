#include "shell/folders.h"

#include "platform/user_folders.h"

namespace shell {

std::string makerDocumentsFolder() {
  return platform::documentsFolder() + "/ZEB";
}

}  // namespace shell
