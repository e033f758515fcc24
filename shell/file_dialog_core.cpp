#include "platform/user_folders.h"
#include "shell/file_dialog.h"

namespace shell {

namespace {

FileDialog::Chooser& installedChooser() {
  static FileDialog::Chooser chooser;
  return chooser;
}

int32_t storePath(std::string& target, std::string_view path) {
  if (path.size() > FileDialog::kBufferSize) return 1;
  if (!path.empty() && path.front() == ' ') {
    target = platform::currentFolder();
  } else {
    target.assign(path);
  }
  return 0;
}

}  // namespace

FileDialog::FileDialog() {
  filters_.emplace_back("alle Dateien (*.*)", "*.*");
}

int32_t FileDialog::setFolder(std::string_view path) {
  return storePath(folder_, path);
}

int32_t FileDialog::setFileName(std::string_view path) {
  return storePath(fileName_, path);
}

int32_t FileDialog::addFilter(std::string_view description, std::string_view pattern) {
  size_t length = 0;
  for (const auto& [d, p] : filters_) length += d.size() + 1 + p.size() + 1;
  if (length + description.size() + pattern.size() + 2 >= kBufferSize) return 2;
  filters_.emplace_back(description, pattern);
  return 0;
}

int32_t FileDialog::openDialog(std::string& path) {
  return run(Kind::Open, path);
}

int32_t FileDialog::saveDialog(std::string& path) {
  return run(Kind::Save, path);
}

int32_t FileDialog::run(Kind kind, std::string& path) {
  const Chooser& chooser = installedChooser();
  if (!chooser) return 1;
  std::string chosen;
  if (!chooser(kind, *this, chosen) || chosen.empty()) return 1;
  fileName_ = chosen;
  path = chosen;
  size_t slash = chosen.rfind('/');
  if (slash != std::string::npos) folder_ = chosen.substr(0, slash + 1);
  return 0;
}

void FileDialog::setChooser(Chooser chooser) {
  installedChooser() = std::move(chooser);
}

}  // namespace shell
