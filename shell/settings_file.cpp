#include "shell/settings_file.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/cp1252.h"
#include "platform/user_folders.h"
#include "shell/atomic_file.h"

namespace shell {

namespace {

bool exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

bool isLineEnd(char c) {
  return c == '\r' || c == '\n';
}

struct FolderVersion {
  int64_t parts[3] = {0, 0, 0};
  // 6.4.0 counts as 6 * 10000 + 4 * 100 + 0.
  int64_t rank() const { return parts[0] * 10000 + parts[1] * 100 + parts[2]; }
};

// The version of a folder name such as "V6.4.0": its first three runs of
// digits; missing ones count 0.
FolderVersion folderVersion(std::string_view name) {
  FolderVersion version;
  int found = 0;
  size_t pos = 0;
  while (pos < name.size() && found < 3) {
    if (name[pos] < '0' || name[pos] > '9') {
      ++pos;
      continue;
    }
    int64_t value = 0;
    while (pos < name.size() && name[pos] >= '0' && name[pos] <= '9') {
      if (value < INT32_MAX) value = value * 10 + (name[pos] - '0');
      ++pos;
    }
    version.parts[found++] = value;
  }
  return version;
}

// Up to kCapacity bytes of a file; empty when it cannot be read.
std::string readHead(const std::string& path) {
  std::string text;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return text;
  text.resize(SettingsFile::kCapacity);
  size_t count = std::fread(text.data(), 1, text.size(), file);
  std::fclose(file);
  text.resize(count);
  return text;
}

bool storable(std::string_view bytes) {
  return bytes.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool storableKey(std::string_view key) {
  return !key.empty() && storable(key) && key.find('=') == std::string_view::npos;
}

SettingsFile::Folders systemFolders() {
  return {platform::currentFolder(), platform::applicationDataFolder(),
          platform::documentsFolder()};
}

}  // namespace

SettingsFile::SettingsFile(std::string folderName, std::string versionName, std::string fileName)
    : SettingsFile(systemFolders(), std::move(folderName), std::move(versionName),
                   std::move(fileName)) {}

SettingsFile::SettingsFile(const Folders& folders, std::string folderName, std::string versionName,
                           std::string fileName)
    : folders_(folders), programFolder_(folders.working) {
  locate(folderName, versionName, fileName);
  load();
}

SettingsFile::~SettingsFile() {
  flush();
}

void SettingsFile::locate(const std::string& folderName, const std::string& versionName,
                          const std::string& fileName) {
  // A portable installation carries its settings beside the program.
  std::string portable = folders_.working + "/Anwendungsdaten";
  if (exists(portable)) {
    path_ = portable + "/" + fileName + ".ini";
    return;
  }
  std::string programDataFolder = folders_.applicationData + "/" + folderName;
  path_ = programDataFolder + "/" + versionName + "/" + fileName + ".ini";
  if (exists(path_)) return;
  migrate(programDataFolder, fileName);
}

// A first start of a new version takes over the settings of the highest
// version folder present, which may be a newer version's or this version's
// own (then without a file, so the start is fresh).
void SettingsFile::migrate(const std::string& programDataFolder, const std::string& fileName) {
  std::string initial;
  if (DIR* dir = ::opendir(programDataFolder.c_str())) {
    std::optional<FolderVersion> highest;
    while (dirent* entry = ::readdir(dir)) {
      if (entry->d_name[0] != 'V') continue;
      FolderVersion version = folderVersion(entry->d_name);
      if (!highest || version.rank() > highest->rank()) highest = version;
    }
    ::closedir(dir);
    if (highest) {
      std::string source = programDataFolder + "/V" + std::to_string(highest->parts[0]) + "." +
                           std::to_string(highest->parts[1]) + "." +
                           std::to_string(highest->parts[2]) + "/" + fileName + ".ini";
      initial = readHead(source);
    }
  }
  // Failures stay silent: the run goes on with an empty text and flush()
  // reports that nothing could be saved.
  if (makeFolders(parentFolder(path_))) replaceFileAtomically(path_, initial);
}

void SettingsFile::load() {
  text_ = readHead(path_);
  if (!text_.empty() && text_.size() < kCapacity - 3 && !isLineEnd(text_.back())) {
    text_ += "\r\n";
  }
}

size_t SettingsFile::findValue(std::string_view key) const {
  size_t pos = 0;
  const size_t length = text_.size();
  while (pos < length) {
    if (text_.compare(pos, key.size(), key) == 0 && pos + key.size() < length &&
        text_[pos + key.size()] == '=') {
      return pos + key.size() + 1;
    }
    while (pos < length && !isLineEnd(text_[pos])) ++pos;
    if (pos >= length) break;
    char end = text_[pos++];
    // CR LF and LF CR each end one line.
    if (pos < length && isLineEnd(text_[pos]) && text_[pos] != end) ++pos;
  }
  return std::string::npos;
}

size_t SettingsFile::valueEnd(size_t start) const {
  size_t end = start;
  while (end < text_.size() && !isLineEnd(text_[end])) ++end;
  return end;
}

size_t SettingsFile::addKey(std::string_view key, std::string_view value) {
  size_t kept = text_.size();
  while (kept > 0 && isLineEnd(text_[kept - 1])) --kept;
  size_t grown = kept + (kept > 0 ? 2 : 0) + key.size() + 1 + value.size() + 2;
  if (grown > kCapacity) return std::string::npos;
  text_.resize(kept);
  if (kept > 0) text_ += "\r\n";
  text_.append(key);
  text_ += '=';
  size_t start = text_.size();
  text_.append(value);
  text_ += "\r\n";
  changed_ = true;
  return start;
}

std::string SettingsFile::get(std::string_view key, std::string_view defaultValue) {
  std::string rawKey = platform::utf8ToCp1252(key);
  std::string rawDefault = platform::utf8ToCp1252(defaultValue);
  if (!storableKey(rawKey)) return platform::cp1252ToUtf8(rawDefault);
  size_t start = findValue(rawKey);
  if (start == std::string::npos) {
    if (!storable(rawDefault)) return platform::cp1252ToUtf8(rawDefault);
    start = addKey(rawKey, rawDefault);
    if (start == std::string::npos) return platform::cp1252ToUtf8(rawDefault);
  }
  return platform::cp1252ToUtf8(std::string_view(text_).substr(start, valueEnd(start) - start));
}

int32_t SettingsFile::getInt(std::string_view key, int32_t defaultValue) {
  std::string value = get(key, std::to_string(defaultValue));
  long long number = std::strtoll(value.c_str(), nullptr, 10);
  if (number > INT32_MAX) return INT32_MAX;
  if (number < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(number);
}

int32_t SettingsFile::set(std::string_view key, std::string_view value) {
  std::string rawKey = platform::utf8ToCp1252(key);
  std::string rawValue = platform::utf8ToCp1252(value);
  if (!storableKey(rawKey) || !storable(rawValue)) return 1;
  size_t start = findValue(rawKey);
  if (start == std::string::npos) {
    start = addKey(rawKey, "");
    if (start == std::string::npos) return 1;
  }
  size_t end = valueEnd(start);
  size_t oldLength = end - start;
  if (std::string_view(text_).substr(start, oldLength) == rawValue) return 0;
  if (rawValue.size() > oldLength && text_.size() + (rawValue.size() - oldLength) > kCapacity) {
    return 1;
  }
  text_.replace(start, oldLength, rawValue);
  changed_ = true;
  return 0;
}

int32_t SettingsFile::flush() {
  if (!changed_) return 0;
  // The file is only ever replaced where it could have been opened for
  // writing: its folder must exist and take files, and a write-protected
  // file stays as it is.
  std::string folder = parentFolder(path_);
  struct stat st {};
  if (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
      ::access(folder.empty() ? "." : folder.c_str(), W_OK) != 0) {
    return 1;
  }
  if (::stat(path_.c_str(), &st) == 0 && ::access(path_.c_str(), W_OK) != 0) return 1;
  // A NUL byte read from a damaged file ends the text, as it always has.
  size_t length = std::min(std::strlen(text_.c_str()), kCapacity);
  if (!replaceFileAtomically(path_, std::string_view(text_).substr(0, length))) return 1;
  changed_ = false;
  return 0;
}

std::string SettingsFile::defaultFolder() const {
  return folders_.documents + "/ZEB/Tunvexa";
}

}  // namespace shell
