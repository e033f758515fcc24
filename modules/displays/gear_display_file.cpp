#include <cstdio>

#include "modules/displays/display_file.h"
#include "modules/displays/gear_display.h"
#include "texts/text_ids.h"

namespace displays {

namespace {
constexpr std::string_view kFirstTag = "[Ganganzeige]";
}

int32_t loadGearDisplayFile(GearDisplaySettings& s, const std::string& path) {
  auto reader = openSettingsFile(path);
  if (!reader) return texts::kTextCannotOpenFile;
  shell::TaggedReader& r = *reader;
  if (r.expectTag(kFirstTag) != 0) return texts::kTextWrongFileSelected;
  int32_t v = 0;
  if (r.readInt(v) != 0) return 0;
  s.nightBrightness = v;
  if (r.readInt(v) != 0) return 0;
  s.dayBrightness = v;
  if (r.expectTag("[RefIntern]") != 0) return texts::kTextFileError;
  if (r.readInt(v) != 0) return 0;
  s.internalReference = v == 0;
  if (r.expectTag("[Schaltgeber]") != 0) return 0;
  bool hasZeroCode = false;
  std::string line;
  for (int i = 0; i < kGearTableEntries - 3; ++i) {
    int32_t code = 0;
    if (!readLineText(r, line) || !twoNumbers(line, code, v)) return 0;
    hasZeroCode = hasZeroCode || code == kGearSymbolZero;
    putGearEntry(s, static_cast<uint8_t>(code), v, hasZeroCode);
  }
  return r.closeAndReturn(0);
}

std::string gearDisplayFileText(const GearDisplaySettings& s) {
  FileText f;
  f.line(kFirstTag);
  f.number(s.nightBrightness);
  f.number(s.dayBrightness);
  f.line("[RefIntern]");
  f.number(s.internalReference ? 0 : 1);
  f.line("[Schaltgeber]");
  char line[32];
  for (int g = 0; g < kGears; ++g) {
    std::snprintf(line, sizeof line, "%i %i", g + 1, s.gearValues[g].value_or(0));
    f.line(line);
  }
  std::snprintf(line, sizeof line, "%i %i", s.neutralSymbol, s.neutralValue.value_or(0));
  f.line(line);
  std::snprintf(line, sizeof line, "%i %i", s.reverseSymbol, s.reverseValue.value_or(0));
  f.line(line);
  return f.bytes();
}

int32_t saveGearDisplayFile(const GearDisplaySettings& s, const std::string& path) {
  return saveFileText(gearDisplayFileText(s), path);
}

}  // namespace displays
