#include "viewers/trigger/module_values.h"

namespace trigger {

namespace {

constexpr int kNamedTypes = 24;

std::array<std::string, 256> makeTypeNames() {
  std::array<std::string, 256> names;
  for (int i = 1; i <= kNamedTypes; ++i) {
    std::string& name = names[static_cast<size_t>(i)];
    name = "Z\xC3\xBCndung Typ ";
    name += std::to_string(i);
  }
  return names;
}

const char* const kHexDigits = "0123456789ABCDEF";

}  // namespace

const std::string& typeName(int number) {
  static const std::array<std::string, 256> names = makeTypeNames();
  static const std::string none;
  if (number < 0 || number > 255) return none;
  return names[static_cast<size_t>(number)];
}

void ModuleValues::setModTypNr(int number) {
  ModTypNr = number >= 0 && number <= 255 ? number : 0;
  ModTyp = typeName(ModTypNr);
}

std::string versionFromAnswer(uint8_t b1, uint8_t b2) {
  // Appended piece by piece: "literal" + std::string makes GCC 12 at -O3
  // report a false -Wrestrict.
  std::string text = "V ";
  text += std::to_string(b1 & 15);
  text += '.';
  text += std::to_string(b2);
  text += '.';
  text += std::to_string(b1 >> 4);
  return text;
}

std::string hexFirst(uint8_t value) {
  if (value < 16) return std::string(1, kHexDigits[value]);
  return hexTwoDigits(value);
}

std::string hexTwoDigits(uint8_t value) {
  return {kHexDigits[value >> 4], kHexDigits[value & 15]};
}

}  // namespace trigger
