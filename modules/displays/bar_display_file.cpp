#include <array>

#include "modules/displays/bar_display.h"
#include "modules/displays/display_file.h"
#include "texts/text_ids.h"

namespace displays {

namespace {

constexpr std::string_view kFirstTag = "[BalkenAnzeige]";

struct Tagged {
  std::string_view tag;
  int32_t BarDisplaySettings::*field;
};

// File order after "[BalkenAnzeige]" and "[FileVersion]"; mode and flags
// are bytes of their own and are read beside the table.
constexpr std::array<Tagged, 4> kBeforeMode{{
    {"[SerienNummer]", &BarDisplaySettings::serialNumber},
    {"[Helligkeit]", &BarDisplaySettings::brightness},
    {"[AnzeigenNummer]", &BarDisplaySettings::displayNumber},
    {"[Adresse]", &BarDisplaySettings::displayAddress},
}};
constexpr std::array<Tagged, 2> kAfterFlags{{
    {"[Startwert]", &BarDisplaySettings::startValue},
    {"[Stufe]", &BarDisplaySettings::step},
}};

int32_t readTagged(shell::TaggedReader& r, std::string_view tag, int32_t& value) {
  if (r.seekTag(tag, 0) != 0) return r.closeAndReturn(texts::kTextFileError);
  return r.readInt(value) == 0 ? 0 : texts::kTextFileError;
}

}  // namespace

int32_t loadBarDisplayFile(BarDisplaySettings& s, const std::string& path) {
  auto reader = openSettingsFile(path);
  if (!reader) return texts::kTextCannotOpenFile;
  shell::TaggedReader& r = *reader;
  if (r.seekTag(kFirstTag, 0) != 0) return r.closeAndReturn(texts::kTextWrongFileSelected);
  s = BarDisplaySettings{};
  int32_t version = 0;
  if (int32_t e = readTagged(r, "[FileVersion]", version); e != 0) return e;
  for (const Tagged& t : kBeforeMode) {
    if (int32_t e = readTagged(r, t.tag, s.*t.field); e != 0) return e;
  }
  // The controls take mode and flags only once the whole file was read; a
  // broken file leaves them at their defaults.
  int32_t mode = 0;
  int32_t flags = 0;
  int32_t e = readTagged(r, "[Modus]", mode);
  if (e == 0) e = readTagged(r, "[Flags]", flags);
  for (const Tagged& t : kAfterFlags) {
    if (e == 0) e = readTagged(r, t.tag, s.*t.field);
  }
  if (e != 0) return e;
  s.mode = static_cast<uint8_t>(mode);
  s.flags = static_cast<uint8_t>(flags);
  return r.closeAndReturn(0);
}

std::string barDisplayFileText(const BarDisplaySettings& s) {
  FileText f;
  f.line(kFirstTag);
  f.line("[FileVersion]");
  f.number(1);
  for (const Tagged& t : kBeforeMode) {
    f.line(t.tag);
    f.number(s.*t.field);
  }
  f.line("[Modus]");
  f.number(s.mode);
  f.line("[Flags]");
  f.number(s.flags);
  for (const Tagged& t : kAfterFlags) {
    f.line(t.tag);
    f.number(s.*t.field);
  }
  return f.bytes();
}

int32_t saveBarDisplayFile(const BarDisplaySettings& s, const std::string& path) {
  return saveFileText(barDisplayFileText(s), path);
}

}  // namespace displays
