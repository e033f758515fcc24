#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace shell {

// Module settings files: a line with a tag in square brackets ("[Zuendung]",
// "[Helligkeit]") followed by the line or lines of its value. On disk they
// are cp1252 with CR LF line ends, like the files of the Windows program;
// inside the program texts are UTF-8.

// The loaders' reader. It owns the file. Lines are read as the Windows
// program reads them in text mode: CR LF (or a bare LF) ends a line, and a
// line longer than kLineLength characters is read as several lines. A value
// reader that fails closes the file; a tag search that fails leaves it open.
// Every operation on a closed reader returns 1.
class TaggedReader {
 public:
  static constexpr size_t kLineLength = 299;

  explicit TaggedReader(std::FILE* file);
  ~TaggedReader();
  TaggedReader(const TaggedReader&) = delete;
  TaggedReader& operator=(const TaggedReader&) = delete;

  // Reads lines (from the start of the file unless `fromCurrent` is
  // non-zero) until one starts with `tag`; anything after the tag is
  // ignored. 0 = found, the next read gets the value; 1 = end of file.
  int32_t seekTag(std::string_view tag, int fromCurrent);
  // Reads exactly one line: 0 when it starts with `tag`, else closes, 1.
  int32_t expectTag(std::string_view tag);
  // One line read like C "%i": sign, decimal, "0x" hexadecimal, leading-0
  // octal. No number: closes, 1.
  int32_t readInt(int32_t& value);
  // readInt, keeping the lowest 8 bits ("300" gives 44).
  int32_t readByteValue(uint8_t& value);
  // One line read like C "%f", with "," taken as the decimal point.
  int32_t readFloat(float& value);
  // One line without its line end, at most size - 1 characters of it. At
  // the end of the file: closes, 1.
  int32_t readText(std::string& text, size_t size);
  int32_t closeAndReturn(int32_t code);
  bool isOpen() const { return file_ != nullptr; }

 private:
  // One line as cp1252 bytes including its "\n" if it fits; false at the end
  // of the file.
  bool readLine(std::string& line);
  void close();

  std::FILE* file_;
};

// The module writers' side: every line ends with CR LF and is stored as
// cp1252, on every platform, so the files move to and from the Windows
// program. It owns the file.
class TaggedWriter {
 public:
  explicit TaggedWriter(std::FILE* file);
  ~TaggedWriter();
  TaggedWriter(const TaggedWriter&) = delete;
  TaggedWriter& operator=(const TaggedWriter&) = delete;

  // One line; a "\n" inside `text` ends a line too (a multi-line value).
  void writeLine(std::string_view text);
  // "%i".
  void writeInt(int32_t value);
  // A tag line, then its value line.
  void writeTagged(std::string_view tag, std::string_view value);
  void writeTaggedInt(std::string_view tag, int32_t value);
  // Closes the file: 0, or 1 when any write or the close failed.
  int32_t close();
  bool isOpen() const { return file_ != nullptr; }

 private:
  std::FILE* file_;
  bool failed_ = false;
};

}  // namespace shell
