#include "shell/value_fields.h"

#include <cstdint>
#include <cstdio>

#include "shell/c_numbers.h"

namespace shell {

namespace {

std::string printParts(uint32_t whole, uint32_t fraction, const char* format) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, static_cast<int32_t>(whole),
                static_cast<int32_t>(fraction));
  return buffer;
}

int32_t truncateToInt(float value) {
  // -2^31 and 2^31 are exact floats; NaN fails both tests.
  if (!(value >= -2147483648.0f && value < 2147483648.0f)) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace

std::string formatFixed(uint32_t value, int decimals) {
  switch (decimals) {
    case 1:
      return printParts(value / 10, value % 10, "%i,%01i");
    case 2:
      return printParts(value / 100, value % 100, "%i,%02i");
    case 3:
      return printParts(value / 1000, value % 1000, "%i,%03i");
    default:
      return std::to_string(static_cast<int32_t>(value));
  }
}

int32_t parseFixed(std::string_view fieldText, int decimals) {
  std::string text(fieldText.substr(0, 9));
  commaToPoint(text);
  std::optional<float> number = scanFloat(text);
  if (!number) return 0;
  const float f = *number;
  float scaled = 0.0f;
  switch (decimals) {
    case 1: {
      const float rounded = f + 0.05f;
      scaled = rounded * 10.0f;
      break;
    }
    case 2: {
      const float rounded = f + 0.005f;
      scaled = rounded * 100.0f;
      break;
    }
    case 3: {
      const float rounded = f + 0.0005f;
      scaled = rounded * 1000.0f;
      break;
    }
    default:
      scaled = f;
  }
  return truncateToInt(scaled);
}

void pointToComma(std::string& text) {
  for (char& c : text) {
    if (c == '.') c = ',';
  }
}

void commaToPoint(std::string& text) {
  for (char& c : text) {
    if (c == ',') c = '.';
  }
}

void cutLineEnd(std::string& text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
}

void removeCarriageReturns(std::string& text) {
  std::erase(text, '\r');
}

void addCarriageReturns(std::string& text, size_t size) {
  if (size == 0) return;
  const size_t limit = size - 1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') continue;
    if (text.size() >= limit) {
      // Drop the whole last character, not half of a UTF-8 sequence.
      size_t last = text.size() - 1;
      while (last > 0 && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80) --last;
      text.resize(last);
      if (i >= text.size()) break;
    }
    text.insert(i, 1, '\r');
    ++i;
  }
}

}  // namespace shell
