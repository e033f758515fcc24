#include "modules/displays/display_file.h"
#include "modules/displays/tank_display.h"
#include "texts/text_ids.h"

namespace displays {

namespace {
constexpr std::string_view kFirstTag = "[Tankanzeige]";
constexpr std::string_view kSensorTags[] = {"[Tankgeber1]", "[Tankgeber2]"};
}  // namespace

int32_t loadTankDisplayFile(TankDisplaySettings& s, const std::string& path) {
  auto reader = openSettingsFile(path);
  if (!reader) return texts::kTextCannotOpenFile;
  shell::TaggedReader& r = *reader;
  if (r.expectTag(kFirstTag) != 0) return texts::kTextWrongFileSelected;
  for (TankCalibrationList& list : s.sensors) list.clear();
  int32_t v = 0;
  if (r.readInt(v) != 0) return 0;
  s.nightBrightness = v;
  if (r.readInt(v) != 0) return 0;
  s.dayBrightness = v;
  if (r.expectTag("[Periode]") != 0 || r.readInt(v) != 0) return 0;
  s.refreshTime = v;
  if (r.expectTag("[Pumpe]") != 0 || r.readInt(v) != 0) return 0;
  s.lowerLimit = v;
  if (r.readInt(v) != 0) return 0;
  s.upperLimit = v;
  if (r.readInt(v) != 0) return 0;
  s.lowOn = v == 0;
  TankCalibrationList* current = nullptr;
  std::string line;
  while (readLineText(r, line)) {
    if (line.starts_with(kSensorTags[0])) {
      current = &s.sensors[0];
    } else if (line.starts_with(kSensorTags[1])) {
      current = &s.sensors[1];
    } else if (current != nullptr) {
      insertTankLine(*current, line);
    }
  }
  return 0;
}

std::string tankDisplayFileText(const TankDisplaySettings& s) {
  FileText f;
  f.line(kFirstTag);
  f.number(s.nightBrightness);
  f.number(s.dayBrightness);
  f.line("[Periode]");
  f.number(s.refreshTime);
  f.line("[Pumpe]");
  f.number(s.lowerLimit);
  f.number(s.upperLimit);
  f.number(s.lowOn ? 0 : 1);
  for (size_t sensor = 0; sensor < 2; ++sensor) {
    f.line(kSensorTags[sensor]);
    for (const std::string& point : s.sensors[sensor]) f.line(point);
  }
  return f.bytes();
}

int32_t saveTankDisplayFile(const TankDisplaySettings& s, const std::string& path) {
  return saveFileText(tankDisplayFileText(s), path);
}

}  // namespace displays
