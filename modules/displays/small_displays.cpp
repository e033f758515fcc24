#include "modules/displays/small_displays.h"

#include <array>
#include <cstdio>

#include "modules/displays/display_operation.h"
#include "texts/text_ids.h"

namespace displays {

namespace {

constexpr uint8_t kOilAddress = 0x80;
constexpr uint8_t kStopwatchAddress = 0x70;
constexpr uint8_t kBehaviour = 6;
constexpr uint8_t kCircumference = 8;
constexpr uint8_t kLapsFirst = 16;
constexpr uint8_t kLapsLast = 252;
constexpr int kLapsBytes = kLapsLast - kLapsFirst + 1;
constexpr int kShownTimes = 5;
constexpr uint8_t kFreeMark = 255;

constexpr ByteCell<OilDisplaySettings> kOilCells[] = {
    {2, &OilDisplaySettings::dayBrightness, 2, 2},
    {1, &OilDisplaySettings::nightBrightness, 3, 3},
};
constexpr ByteCell<StopwatchSettings> kStopwatchCells[] = {
    {2, &StopwatchSettings::dayBrightness, 2, 2},
    {1, &StopwatchSettings::nightBrightness, 3, 3},
};

template <class Settings>
int32_t checkBrightness(const Settings& s) {
  if (checkRange(s.dayBrightness, 0, 255) != 0 || checkRange(s.nightBrightness, 0, 255) != 0)
    return texts::kTextParameterOutOfRange;
  return 0;
}

}  // namespace

int32_t readOilDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                       OilDisplaySettings& s) {
  if (openDisplay(link, prompts, kOilAddress, s.version) != 0) return kStatusReported;
  if (int32_t e = readCells<OilDisplaySettings>(link, s, kOilCells); e != 0) return e;
  link.close();
  return 0;
}

int32_t writeOilDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        const OilDisplaySettings& s) {
  if (int32_t e = checkBrightness(s); e != 0) {
    prompts.showMessage(e);
    return kStatusReported;
  }
  uint16_t version = 0;
  if (openDisplay(link, prompts, kOilAddress, version) != 0) return kStatusReported;
  if (int32_t e = writeCells<OilDisplaySettings>(link, s, kOilCells); e != 0) return e;
  return restartAndClose(link);
}

int32_t circumferenceToModule(int32_t millimetres) {
  return millimetres * 3600 / 1000;
}

int32_t circumferenceFromModule(int32_t value) {
  return (value + 2) * 1000 / 3600;
}

std::vector<std::string> stopwatchLastTimes(const uint8_t* lapMemory) {
  auto at = [lapMemory](int address) { return lapMemory[address - kLapsFirst]; };
  int p = kLapsLast + 1;
  for (int r = kLapsFirst; r + 2 <= kLapsLast; r += 3) {
    if (at(r) == kFreeMark) {
      p = r;
      break;
    }
  }
  std::vector<std::string> times;
  for (int n = 0; n < kShownTimes; ++n) {
    if (p == kLapsFirst) p = kLapsLast + 1;
    p -= 3;
    const int m = at(p), s = at(p + 1), h = at(p + 2);
    if (m == kFreeMark) continue;
    char text[32];
    if (m == 0) {
      std::snprintf(text, sizeof text, "%3i.%02i", s, h);
    } else {
      std::snprintf(text, sizeof text, "%1i%02i.%02i", m, s, h);
    }
    times.emplace_back(text);
  }
  return times;
}

int32_t readStopwatch(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                      StopwatchSettings& s) {
  if (openDisplay(link, prompts, kStopwatchAddress, s.version) != 0) return kStatusReported;
  if (int32_t e = readCells<StopwatchSettings>(link, s, kStopwatchCells); e != 0) return e;
  if (link.readByte(kBehaviour, s.behaviour) != 0) return 3;
  int32_t value = 0;
  if (readWordAt(link, kCircumference, value) != 0) return 4;
  s.circumference = circumferenceFromModule(value);
  std::array<uint8_t, kLapsBytes> laps{};
  for (int i = 0; i < kLapsBytes; ++i) {
    if (link.readByte(static_cast<uint8_t>(kLapsFirst + i), laps[i]) != 0) return 4;
  }
  s.lastTimes = stopwatchLastTimes(laps.data());
  link.close();
  return 0;
}

int32_t writeStopwatch(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                       const StopwatchSettings& s) {
  if (int32_t e = checkBrightness(s); e != 0) {
    prompts.showMessage(e);
    return kStatusReported;
  }
  uint16_t version = 0;
  if (openDisplay(link, prompts, kStopwatchAddress, version) != 0) return kStatusReported;
  if (int32_t e = writeCells<StopwatchSettings>(link, s, kStopwatchCells); e != 0) return e;
  if (link.writeByte(kBehaviour, s.behaviour) != 0) return 4;
  const int32_t value = circumferenceToModule(s.circumference.value_or(0));
  if (link.writeWord(kCircumference, static_cast<uint32_t>(value) & 0xFFFF) != 0) return 5;
  return restartAndClose(link);
}

}  // namespace displays
