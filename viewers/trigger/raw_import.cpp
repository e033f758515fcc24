#include "viewers/trigger/raw_import.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace trigger {

namespace {

// Samples are written from `slot` on; the import ends when the ring is full.
void putBits(Recording& rec, int32_t& slot, uint8_t a, uint8_t b) {
  for (int bit = 7; bit >= 0 && slot <= kLastSlot; --bit, ++slot) {
    rec.channelA[static_cast<size_t>(slot)] = (a >> bit) & 1;
    rec.channelB[static_cast<size_t>(slot)] = (b >> bit) & 1;
  }
}

std::string_view trimmed(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The two-digit number at characters `from` and `from + 1` (from 1); a
// missing or unreadable digit ends the number, none at all gives 0.
uint8_t hexAt(std::string_view line, size_t from) {
  int value = 0;
  for (size_t i = from - 1; i < from + 1 && i < line.size(); ++i) {
    const int d = hexDigit(line[i]);
    if (d < 0) break;
    value = value * 16 + d;
  }
  return static_cast<uint8_t>(value);
}

std::vector<std::string_view> crlfLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t from = 0;
  for (;;) {
    const size_t end = text.find("\r\n", from);
    lines.push_back(text.substr(from, end == std::string_view::npos ? end : end - from));
    if (end == std::string_view::npos) break;
    from = end + 2;
  }
  // The line end of the last line opens no line of its own.
  if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  return lines;
}

}  // namespace

void importRawFrames(std::string_view bytes, Recording& rec) {
  rec.clear();
  int32_t slot = 0;
  for (size_t at = 0; at + 4 <= bytes.size() && slot <= kLastSlot; at += 4) {
    putBits(rec, slot, static_cast<uint8_t>(bytes[at + 1]), static_cast<uint8_t>(bytes[at + 2]));
  }
  rec.DataCount = slot;
  rec.DataWrIdx = 1;
}

bool importRawText(std::string_view text, Recording& rec) {
  const std::vector<std::string_view> lines = crlfLines(text);
  if (lines.size() < 4 || trimmed(lines[1]) != "T\tee 20 35 a1" ||
      trimmed(lines[2]) != "R\tee 20 35 a1" || trimmed(lines[3]) != "R\tee 20 00 94") {
    return false;
  }
  rec.clear();
  int32_t slot = 1;
  for (size_t i = 4; i < lines.size() && slot <= kLastSlot; ++i) {
    putBits(rec, slot, hexAt(lines[i], 6), hexAt(lines[i], 9));
  }
  rec.DataCount = slot;
  rec.DataWrIdx = 1;
  return true;
}

bool readWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace trigger
