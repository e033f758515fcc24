#include "modules/displays/display_file.h"
#include "modules/displays/poti_display.h"
#include "texts/text_ids.h"

namespace displays {

namespace {

constexpr std::string_view kFirstTag = "[Potianzeige]";

}  // namespace

int32_t loadPotiDisplayFile(PotiDisplaySettings& s, const std::string& path) {
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
  if (r.expectTag("[PowerDown]") != 0) return texts::kTextFileError;
  if (r.readInt(v) != 0) return 0;
  s.switchOffTime = v;
  // The thresholds reach the fields only once both groups were read.
  std::array<int32_t, kPotiLeds> green{}, red{};
  if (!readLedGroup(r, "[LedsGruen]", green) || !readLedGroup(r, "[LedsRot]", red)) return 0;
  s.green = green;
  s.red = red;
  return r.closeAndReturn(0);
}

std::string potiDisplayFileText(const PotiDisplaySettings& s) {
  FileText f;
  f.line(kFirstTag);
  f.number(s.nightBrightness);
  f.number(s.dayBrightness);
  f.line("[RefIntern]");
  f.number(s.internalReference ? 0 : 1);
  f.line("[PowerDown]");
  f.number(s.switchOffTime.value_or(0));
  f.line("[LedsGruen]");
  for (int32_t v : s.green) f.number(v);
  f.line("[LedsRot]");
  for (int32_t v : s.red) f.number(v);
  return f.bytes();
}

int32_t savePotiDisplayFile(const PotiDisplaySettings& s, const std::string& path) {
  return saveFileText(potiDisplayFileText(s), path);
}

}  // namespace displays
