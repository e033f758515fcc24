#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace shell {

// What a page keeps between its open and save dialogs: the folder to start
// in, the last file name and the filters offered. The window itself comes
// from a chooser that the program installs once (the Qt file dialog) and
// tests replace.
class FileDialog {
 public:
  enum class Kind { Open, Save };
  // Shows the dialog for `dialog` (folder(), fileName(), filters()); false =
  // cancelled or failed, else the chosen full path.
  using Chooser = std::function<bool(Kind kind, const FileDialog& dialog, std::string& chosenPath)>;

  // The filter list and the file name must fit the 4096-byte buffers of the
  // Windows program's dialog record, whose rules the callers rely on.
  static constexpr size_t kBufferSize = 4096;

  // File name empty; one filter: "alle Dateien (*.*)", "*.*".
  FileDialog();

  // 1 when the path is longer than 4096 bytes, else 0. A path that starts
  // with a space stands for the current working folder (stored settings use
  // " " for "no folder yet").
  int32_t setFolder(std::string_view path);
  std::string folder() const { return folder_; }
  // As setFolder, for the file name.
  int32_t setFileName(std::string_view path);
  std::string fileName() const { return fileName_; }

  void clearFilters() { filters_.clear(); }
  // Appends one pair. 2 when the list would no longer fit its buffer (pairs
  // as NUL-ended texts plus the final NUL), else 0.
  int32_t addFilter(std::string_view description, std::string_view pattern);
  const std::vector<std::pair<std::string, std::string>>& filters() const { return filters_; }

  // 0 with the chosen full path, which also becomes the file name, while the
  // folder becomes that path up to and including its last "/" (so the next
  // dialog starts there); 1 when cancelled, failed or no chooser is set.
  int32_t openDialog(std::string& path);
  int32_t saveDialog(std::string& path);

  // Set once by the program, or by a test.
  static void setChooser(Chooser chooser);

 private:
  int32_t run(Kind kind, std::string& path);

  std::string fileName_;
  std::string folder_;
  std::vector<std::pair<std::string, std::string>> filters_;
};

}  // namespace shell
