#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <vector>

namespace platform {

namespace {

std::string withoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The value of one line `XDG_DOCUMENTS_DIR="$HOME/Dokumente"` of
// user-dirs.dirs; the file allows only "$HOME/..." or an absolute path.
std::string userDirFromFile(const std::string& file, std::string_view name) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    std::string_view view(line);
    while (!view.empty() && (view.front() == ' ' || view.front() == '\t')) view.remove_prefix(1);
    if (view.substr(0, name.size()) != name) continue;
    view.remove_prefix(name.size());
    if (view.empty() || view.front() != '=') continue;
    view.remove_prefix(1);
    if (view.size() < 2 || view.front() != '"') continue;
    size_t close = view.find('"', 1);
    if (close == std::string_view::npos) continue;
    std::string_view value = view.substr(1, close - 1);
    std::string result;
    if (value.substr(0, 5) == "$HOME") {
      result = homeFolder();
      result.append(value.substr(5));
    } else if (!value.empty() && value.front() == '/') {
      result.assign(value);
    } else {
      continue;
    }
    return withoutTrailingSlashes(result);
  }
  return {};
}

}  // namespace

std::string homeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return withoutTrailingSlashes(home);
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    return withoutTrailingSlashes(found->pw_dir);
  }
  return "/";
}

std::string currentFolder() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return ".";
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

std::string applicationDataFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return withoutTrailingSlashes(config);
  return homeFolder() + "/.config";
}

std::string documentsFolder() {
  const char* documents = std::getenv("XDG_DOCUMENTS_DIR");
  if (documents != nullptr && documents[0] == '/') return withoutTrailingSlashes(documents);
  std::string fromFile =
      userDirFromFile(applicationDataFolder() + "/user-dirs.dirs", "XDG_DOCUMENTS_DIR");
  if (!fromFile.empty()) return fromFile;
  return homeFolder() + "/Documents";
}

}  // namespace platform
