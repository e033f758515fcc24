#include "modules/displays/poti_display.h"

#include "modules/displays/display_operation.h"
#include "texts/text_ids.h"

namespace displays {

namespace {

constexpr uint8_t kAddress = 0xD0;
constexpr uint8_t kReference = 8;
constexpr uint8_t kSwitchOff = 10;
constexpr uint8_t kGreen = 192;
constexpr uint8_t kRed = 208;
constexpr uint8_t kGreenColour = 1;
constexpr uint8_t kRedColour = 2;

constexpr ByteCell<PotiDisplaySettings> kBrightness[] = {
    {2, &PotiDisplaySettings::dayBrightness, 2, 2},
    {1, &PotiDisplaySettings::nightBrightness, 3, 3},
};

uint8_t led(uint8_t base, int i) {
  return static_cast<uint8_t>(base + 2 * i);
}

}  // namespace

int32_t checkPotiDisplay(const PotiDisplaySettings& s) {
  bool ok = checkRange(s.dayBrightness, 0, 255) == 0 &&
            checkRange(s.nightBrightness, 0, 255) == 0 &&
            checkRange(s.switchOffTime.value_or(0), 0, 255) == 0;
  for (int i = 0; i < kPotiLeds; ++i) {
    ok = ok && checkRange(s.green[i], 0, 255) == 0 && checkRange(s.red[i], 0, 255) == 0;
  }
  return ok ? 0 : texts::kTextParameterOutOfRange;
}

int32_t readPotiDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        PotiDisplaySettings& s) {
  if (openDisplay(link, prompts, kAddress, s.version) != 0) return kStatusReported;
  if (int32_t e = readCells<PotiDisplaySettings>(link, s, kBrightness); e != 0) return e;
  uint8_t b = 0;
  if (link.readByte(kReference, b) != 0) return 3;
  s.internalReference = b == 0;
  if (link.readByte(kSwitchOff, b) != 0) return 4;
  s.switchOffTime = b;
  for (int i = 0; i < kPotiLeds; ++i) {
    uint8_t green = 0, red = 0;
    if (link.readByte(led(kGreen, i), green) != 0 || link.readByte(led(kRed, i), red) != 0)
      return 5;
    s.green[i] = green;
    s.red[i] = red;
  }
  link.close();
  return 0;
}

int32_t writePotiDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                         const PotiDisplaySettings& s) {
  if (int32_t e = checkPotiDisplay(s); e != 0) {
    prompts.showMessage(e);
    return kStatusReported;
  }
  uint16_t version = 0;
  if (openDisplay(link, prompts, kAddress, version) != 0) return kStatusReported;
  if (int32_t e = writeCells<PotiDisplaySettings>(link, s, kBrightness); e != 0) return e;
  if (link.writeByte(kReference, s.internalReference ? 0 : 1) != 0) return 4;
  if (link.writeByte(kSwitchOff, static_cast<uint32_t>(s.switchOffTime.value_or(0))) != 0) return 5;
  for (int i = 0; i < kPotiLeds; ++i) {
    const uint8_t red = led(kRed, i), green = led(kGreen, i);
    if (link.writeByte(red, static_cast<uint32_t>(s.red[i])) != 0 ||
        link.writeByte(static_cast<uint8_t>(red + 1), kRedColour) != 0 ||
        link.writeByte(green, static_cast<uint32_t>(s.green[i])) != 0 ||
        link.writeByte(static_cast<uint8_t>(green + 1), kGreenColour) != 0)
      return 6;
  }
  return restartAndClose(link);
}

int32_t testPotiDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts) {
  static constexpr uint8_t kChannels[] = {0, 1};
  return runDisplayTest(link, prompts, kAddress, kChannels, true);
}

PotiValueWindow::PotiValueWindow(buslink::ModuleLink& link, shell::UserPrompts& prompts)
    : LiveValueWindow(link, prompts, kAddress) {}

std::optional<int32_t> PotiValueWindow::read() {
  uint16_t v = 0;
  if (link_.readLiveValue(0, v) != 0) return std::nullopt;
  return v;
}

}  // namespace displays
