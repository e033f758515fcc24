#include "modules/displays/display_file.h"

#include <sys/stat.h>

#include "platform/cp1252.h"
#include "shell/atomic_file.h"
#include "shell/c_numbers.h"
#include "texts/text_ids.h"

namespace displays {

void FileText::line(std::string_view utf8) {
  bytes_ += platform::utf8ToCp1252(utf8);
  bytes_ += "\r\n";
}

void FileText::number(int32_t value) {
  line(std::to_string(value));
}

int32_t saveFileText(std::string_view bytes, const std::string& path) {
  // A new file is created first, so that it gets the permissions of any
  // other file the user makes.
  struct stat st {};
  const bool existed = ::stat(path.c_str(), &st) == 0;
  if (!existed) {
    std::FILE* created = std::fopen(path.c_str(), "wb");
    if (created == nullptr) return texts::kTextCannotOpenFile;
    std::fclose(created);
  }
  if (!shell::replaceFileAtomically(path, bytes)) {
    if (!existed) std::remove(path.c_str());
    return texts::kTextCannotOpenFile;
  }
  return 0;
}

std::unique_ptr<shell::TaggedReader> openSettingsFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return nullptr;
  return std::make_unique<shell::TaggedReader>(f);
}

bool readLineText(shell::TaggedReader& reader, std::string& text) {
  // One character short of the reader's line length, so that a text saved
  // again fits a line together with its line end.
  if (reader.readText(text, shell::TaggedReader::kLineLength) != 0) return false;
  // A text ends at a 0 byte, as it does in the module's program, and holds
  // no line end: a saved list must load back the same.
  if (const size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  // A lone CR would end the line differently once the text is written back.
  std::erase(text, '\r');
  return true;
}

bool readLedGroup(shell::TaggedReader& reader, std::string_view tag, std::span<int32_t> leds) {
  if (reader.expectTag(tag) != 0) return false;
  for (int32_t& v : leds) {
    if (reader.readInt(v) != 0) return false;
  }
  return true;
}

bool leadingNumber(std::string_view text, int32_t& value) {
  const std::optional<int32_t> v = shell::scanInt(text);
  if (!v) return false;
  value = *v;
  return true;
}

bool twoNumbers(std::string_view text, int32_t& first, int32_t& second) {
  size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return false;
  const size_t end = text.find_first_of(" \t", start);
  if (end == std::string_view::npos) return false;
  return leadingNumber(text.substr(start, end - start), first) &&
         leadingNumber(text.substr(end), second);
}

}  // namespace displays
