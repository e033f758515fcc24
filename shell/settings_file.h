#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace shell {

// The program's own settings: lines "key=value" in one small cp1252 text
// file, CR LF between lines. The whole text is read when the object is made,
// every get and set works on the copy in memory, and the file is written back
// once, when the object goes away (or at an explicit flush), only if
// something changed. A key that is read but missing is added with its
// default, so the file ends up listing every key the program uses.
//
// Limits: the text holds at most kCapacity bytes (cp1252), like the file of
// the Windows program. A change that would make it longer - a new key or a
// longer value - is refused and the text stays as it was (set returns 1, get
// hands back the default without storing it). Values come back as whole
// std::strings, so nothing is ever cut to fit a caller's buffer. Keys and
// values that contain CR, LF or NUL would break the line structure and are
// refused the same way; so are empty keys and keys containing "=".
class SettingsFile {
 public:
  static constexpr size_t kCapacity = 32768;

  struct Folders {
    std::string working, applicationData, documents;
  };

  // Uses the process's working folder and the user's folders.
  SettingsFile(std::string folderName = "ZEB/Tunvexa", std::string versionName = "V6.5.0",
               std::string fileName = "Tunvexa");
  SettingsFile(const Folders& folders, std::string folderName, std::string versionName,
               std::string fileName);
  // Writes the file back if it changed.
  ~SettingsFile();
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  // The value of `key`; a missing key is added with `defaultValue` first.
  std::string get(std::string_view key, std::string_view defaultValue);
  // get() read like C atoi: leading blanks, sign, digits; "abc" gives 0.
  int32_t getInt(std::string_view key, int32_t defaultValue);
  // 0; 1 when the change is refused (see Limits).
  int32_t set(std::string_view key, std::string_view value);
  // 0 = written or nothing to write; 1 = the file's folder is missing or not
  // writable, the file itself is write-protected, or writing failed. On 1 the
  // file on disk is unchanged and the text stays marked as changed.
  int32_t flush();

  // The working folder at start-up (the viewer programs live there).
  std::string programFolder() const { return programFolder_; }
  std::string path() const { return path_; }
  // Documents folder + "/ZEB/Tunvexa", the default of the Pfad* keys.
  std::string defaultFolder() const;
  bool changed() const { return changed_; }

 private:
  void locate(const std::string& folderName, const std::string& versionName,
              const std::string& fileName);
  void migrate(const std::string& programDataFolder, const std::string& fileName);
  void load();
  // Offset of the value of `key` in text_, or npos.
  size_t findValue(std::string_view key) const;
  size_t valueEnd(size_t start) const;
  // Appends the line "key=value"; the offset of the value, or npos if the
  // text would grow beyond its capacity.
  size_t addKey(std::string_view key, std::string_view value);

  Folders folders_;
  std::string path_;
  std::string programFolder_;
  std::string text_;  // as on disk: cp1252 bytes
  bool changed_ = false;
};

}  // namespace shell
