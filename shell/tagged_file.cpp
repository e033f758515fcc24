#include "shell/tagged_file.h"

#include <optional>

#include "platform/cp1252.h"
#include "shell/c_numbers.h"

namespace shell {

namespace {

bool startsWith(std::string_view line, std::string_view prefix) {
  return line.substr(0, prefix.size()) == prefix;
}

}  // namespace

TaggedReader::TaggedReader(std::FILE* file) : file_(file) {}

TaggedReader::~TaggedReader() {
  close();
}

void TaggedReader::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

bool TaggedReader::readLine(std::string& line) {
  line.clear();
  while (line.size() < kLineLength) {
    int c = std::getc(file_);
    if (c == EOF) break;
    if (c == '\r') {
      int next = std::getc(file_);
      if (next == '\n')
        c = '\n';
      else if (next != EOF)
        std::ungetc(next, file_);
    }
    line.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  return !line.empty();
}

int32_t TaggedReader::seekTag(std::string_view tag, int fromCurrent) {
  if (file_ == nullptr) return 1;
  if (fromCurrent == 0) std::rewind(file_);
  const std::string rawTag = platform::utf8ToCp1252(tag);
  std::string line;
  while (readLine(line)) {
    if (startsWith(line, rawTag)) return 0;
  }
  return 1;
}

int32_t TaggedReader::expectTag(std::string_view tag) {
  if (file_ == nullptr) return 1;
  std::string line;
  if (readLine(line) && startsWith(line, platform::utf8ToCp1252(tag))) return 0;
  return closeAndReturn(1);
}

int32_t TaggedReader::readInt(int32_t& value) {
  if (file_ == nullptr) return 1;
  std::string line;
  std::optional<int32_t> number;
  if (readLine(line)) number = scanInt(line);
  if (!number) return closeAndReturn(1);
  value = *number;
  return 0;
}

int32_t TaggedReader::readByteValue(uint8_t& value) {
  int32_t wide = 0;
  if (readInt(wide) != 0) return 1;
  value = static_cast<uint8_t>(wide & 0xFF);
  return 0;
}

int32_t TaggedReader::readFloat(float& value) {
  if (file_ == nullptr) return 1;
  std::string line;
  std::optional<float> number;
  if (readLine(line)) {
    for (char& c : line) {
      if (c == ',') c = '.';
    }
    number = scanFloat(line);
  }
  if (!number) return closeAndReturn(1);
  value = *number;
  return 0;
}

int32_t TaggedReader::readText(std::string& text, size_t size) {
  if (file_ == nullptr) return 1;
  std::string line;
  if (!readLine(line)) return closeAndReturn(1);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  // One cp1252 byte is one character.
  if (line.size() > (size > 0 ? size - 1 : 0)) line.resize(size > 0 ? size - 1 : 0);
  text = platform::cp1252ToUtf8(line);
  return 0;
}

int32_t TaggedReader::closeAndReturn(int32_t code) {
  close();
  return code;
}

TaggedWriter::TaggedWriter(std::FILE* file) : file_(file) {}

TaggedWriter::~TaggedWriter() {
  close();
}

void TaggedWriter::writeLine(std::string_view text) {
  if (file_ == nullptr) {
    failed_ = true;
    return;
  }
  std::string raw = platform::utf8ToCp1252(text);
  std::string out;
  out.reserve(raw.size() + 4);
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    if (raw[i] == '\n') {
      out += "\r\n";
    } else {
      out.push_back(raw[i]);
    }
  }
  out += "\r\n";
  if (std::fwrite(out.data(), 1, out.size(), file_) != out.size()) failed_ = true;
}

void TaggedWriter::writeInt(int32_t value) {
  writeLine(std::to_string(value));
}

void TaggedWriter::writeTagged(std::string_view tag, std::string_view value) {
  writeLine(tag);
  writeLine(value);
}

void TaggedWriter::writeTaggedInt(std::string_view tag, int32_t value) {
  writeLine(tag);
  writeInt(value);
}

int32_t TaggedWriter::close() {
  if (file_ == nullptr) return failed_ ? 1 : 0;
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return failed_ ? 1 : 0;
}

}  // namespace shell
