#include "viewers/common/line_settings.h"

#include <cctype>
#include <charconv>
#include <vector>

#include "platform/termios_device.h"

namespace viewers {

namespace {

std::optional<int> wholeNumber(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

}  // namespace

std::optional<LineSettings> parseLineSettings(const std::string& text) {
  std::vector<std::string> fields(1);
  for (char c : text) {
    if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  if (fields.size() != 4 || fields[1].size() != 1) return std::nullopt;
  LineSettings settings;
  std::optional<int> baud = wholeNumber(fields[0]);
  std::optional<int> dataBits = wholeNumber(fields[2]);
  std::optional<int> stopBits = wholeNumber(fields[3]);
  if (!baud || !dataBits || !stopBits) return std::nullopt;
  settings.baudRate = *baud;
  settings.parity = static_cast<char>(std::tolower(static_cast<unsigned char>(fields[1][0])));
  settings.dataBits = *dataBits;
  settings.stopBits = *stopBits;
  if (platform::baudConstant(settings.baudRate) == 0 || settings.parity != 'n' ||
      settings.dataBits != 8 || settings.stopBits != 1) {
    return std::nullopt;
  }
  return settings;
}

int portNumberFromText(const std::string& text) {
  std::string rest;
  for (size_t i = 0; i < text.size();) {
    if (i + 3 <= text.size() && std::tolower(static_cast<unsigned char>(text[i])) == 'c' &&
        std::tolower(static_cast<unsigned char>(text[i + 1])) == 'o' &&
        std::tolower(static_cast<unsigned char>(text[i + 2])) == 'm') {
      i += 3;
    } else {
      rest += text[i++];
    }
  }
  std::string first = rest.substr(0, rest.find(' '));
  int value = 0;
  std::from_chars(first.data(), first.data() + first.size(), value);
  return value;
}

}  // namespace viewers
