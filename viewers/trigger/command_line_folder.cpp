#include "viewers/trigger/command_line_folder.h"

#include <filesystem>
#include <system_error>

#include "viewers/trigger/trigger_texts.h"

namespace trigger {

namespace {

bool isFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

}  // namespace

std::string dataFolderFromCommandLine(const std::string& value, const std::string& current,
                                      viewers::ViewerMessages& messages) {
  std::string folder = value;
  if (folder.empty() || folder.back() != '/') folder += '/';
  if (isFolder(folder)) return folder;
  if (!messages.askYesNo(fillIn(kTextAskCreateFolder, folder))) return current;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!isFolder(folder)) {
    messages.show(fillIn(kTextFolderNotCreated, folder), viewers::MessageIcon::kError);
    return current;
  }
  return folder;
}

}  // namespace trigger
