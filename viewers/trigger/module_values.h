#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace trigger {

// What the viewer knows of the connected ignition module: its identity and
// its trigger configuration. The data files store and restore it.
struct ModuleValues {
  std::string ModSerienNr;
  std::string ModVersion;
  std::string ModTyp;
  int ModTypNr = 0;
  int ModZylinder = 0;
  int ModTakte = 0;
  int ModKwZaehne = 0;
  int ModKwLuecke = 0;
  int ModZylinder1 = 0;
  int ModLeertakt = 0;
  int ModKwGeber = 0;

  // A number outside 0-255 stores 0; the type name follows the number.
  void setModTypNr(int number);
};

// Names for type numbers 1-24, the hardware variants of the ignition; every
// other entry is empty.
const std::string& typeName(int number);

// "V " + (b1 AND 15) + "." + b2 + "." + (b1 >> 4) of a version answer.
std::string versionFromAnswer(uint8_t b1, uint8_t b2);
// Upper-case hexadecimal: the first serial byte without a leading zero,
// the following ones with two digits each.
std::string hexFirst(uint8_t value);
std::string hexTwoDigits(uint8_t value);

}  // namespace trigger
