#include "modules/displays/display_file.h"
#include "modules/displays/shift_display.h"
#include "texts/text_ids.h"

namespace displays {

namespace {

constexpr std::string_view kFirstTag = "[Schaltanzeige]";

}  // namespace

int32_t loadShiftDisplayFile(ShiftDisplaySettings& s, const std::string& path) {
  auto reader = openSettingsFile(path);
  if (!reader) return texts::kTextCannotOpenFile;
  shell::TaggedReader& r = *reader;
  if (r.expectTag(kFirstTag) != 0) return texts::kTextWrongFileSelected;
  int32_t v = 0;
  if (r.readInt(v) != 0) return 0;
  s.nightBrightness = v;
  if (r.readInt(v) != 0) return 0;
  s.dayBrightness = v;
  if (r.expectTag("[Faktor]") != 0 || r.readInt(v) != 0) return 0;
  if (isSpeedFactorCode(v)) s.factorCode = v;
  // The thresholds reach the fields only once both groups were read.
  std::array<int32_t, kShiftLeds> green{}, red{};
  if (!readLedGroup(r, "[LedsGruen]", green) || !readLedGroup(r, "[LedsRot]", red)) return 0;
  s.green = green;
  s.red = red;
  if (r.expectTag("[Limiter]") != 0 || r.readInt(v) != 0) return 0;
  s.limiter = v;
  return r.closeAndReturn(0);
}

std::string shiftDisplayFileText(const ShiftDisplaySettings& s) {
  FileText f;
  f.line(kFirstTag);
  f.number(s.nightBrightness);
  f.number(s.dayBrightness);
  f.line("[Faktor]");
  f.number(s.factorCode);
  f.line("[LedsGruen]");
  for (int32_t v : s.green) f.number(v);
  f.line("[LedsRot]");
  for (int32_t v : s.red) f.number(v);
  f.line("[Limiter]");
  f.number(s.limiter);
  return f.bytes();
}

int32_t saveShiftDisplayFile(const ShiftDisplaySettings& s, const std::string& path) {
  return saveFileText(shiftDisplayFileText(s), path);
}

}  // namespace displays
