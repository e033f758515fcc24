#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "shell/tagged_file.h"

namespace displays {

// The bytes of a display settings file as the Windows program writes them:
// cp1252, CR LF after every line.
class FileText {
 public:
  void line(std::string_view utf8);
  void number(int32_t value);
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Replaces the file as a whole (a full disk never leaves a cut file).
// 0, or 8016 when it cannot be written.
int32_t saveFileText(std::string_view bytes, const std::string& path);

// Opens a settings file for the loaders; nullptr when it cannot be opened.
std::unique_ptr<shell::TaggedReader> openSettingsFile(const std::string& path);

// The next line without its line end, as UTF-8; false at the end of the file
// (the reader is then closed).
bool readLineText(shell::TaggedReader& reader, std::string& text);

// A tag and one number per LED after it; false when any is missing.
bool readLedGroup(shell::TaggedReader& reader, std::string_view tag, std::span<int32_t> leds);

// The leading whole number of a line, as C "%i" reads it; false when there is
// none.
bool leadingNumber(std::string_view text, int32_t& value);
// Two whole numbers separated by blanks ("%i %i").
bool twoNumbers(std::string_view text, int32_t& first, int32_t& second);

}  // namespace displays
