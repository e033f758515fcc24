#include "modules/displays/shift_display.h"

#include "modules/displays/display_operation.h"
#include "texts/text_ids.h"

namespace displays {

namespace {

constexpr uint8_t kAddress = 0xB0;
constexpr uint8_t kFactor = 15;
constexpr uint8_t kGreen = 192;
constexpr uint8_t kRed = 208;
constexpr uint8_t kMaximum = 224;
constexpr uint8_t kLimiter = 226;

constexpr ByteCell<ShiftDisplaySettings> kBrightness[] = {
    {2, &ShiftDisplaySettings::dayBrightness, 2, 2},
    {1, &ShiftDisplaySettings::nightBrightness, 3, 3},
};

uint8_t led(uint8_t base, int i) {
  return static_cast<uint8_t>(base + 2 * i);
}

}  // namespace

int32_t checkShiftDisplay(const ShiftDisplaySettings& s) {
  if (checkRange(s.dayBrightness, 0, 255) != 0 || checkRange(s.nightBrightness, 0, 255) != 0 ||
      !isSpeedFactorCode(s.factorCode) || !shiftThresholdFits(s.limiter, s.factorCode))
    return texts::kTextParameterOutOfRange;
  for (int i = 0; i < kShiftLeds; ++i) {
    if (!shiftThresholdFits(s.green[i], s.factorCode) ||
        !shiftThresholdFits(s.red[i], s.factorCode))
      return texts::kTextParameterOutOfRange;
  }
  return 0;
}

int32_t readShiftDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                         ShiftDisplaySettings& s) {
  uint16_t version = 0;
  if (openDisplay(link, prompts, kAddress, version) != 0) return kStatusReported;
  s.version = version;
  uint32_t serial = 0;
  if (link.readSerialNumber(serial) != 0) return 2;
  s.serialNumber = serial;
  if (int32_t e = readCells<ShiftDisplaySettings>(link, s, kBrightness); e != 0) return e;
  int32_t maximum = 0;
  uint8_t code = 0;
  if (readWordAt(link, kMaximum, maximum) != 0 || link.readByte(kFactor, code) != 0) return 4;
  // A code that is not in the list leaves the chosen factor as it was.
  if (isSpeedFactorCode(code)) s.factorCode = code;
  s.maximum = shiftValueToRpm(maximum, s.factorCode);
  for (int i = 0; i < kShiftLeds; ++i) {
    int32_t green = 0, red = 0;
    if (readWordAt(link, led(kGreen, i), green) != 0 || readWordAt(link, led(kRed, i), red) != 0)
      return 5;
    s.green[i] = shiftValueToRpm(green, s.factorCode);
    s.red[i] = shiftValueToRpm(red, s.factorCode);
  }
  int32_t limiter = 0;
  if (readWordAt(link, kLimiter, limiter) != 0) return 6;
  s.limiter = shiftValueToRpm(limiter, s.factorCode);
  link.close();
  return 0;
}

int32_t writeShiftDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                          const ShiftDisplaySettings& s) {
  if (int32_t e = checkShiftDisplay(s); e != 0) {
    prompts.showMessage(e);
    return kStatusReported;
  }
  uint16_t version = 0;
  if (openDisplay(link, prompts, kAddress, version) != 0) return kStatusReported;
  if (int32_t e = writeCells<ShiftDisplaySettings>(link, s, kBrightness); e != 0) return e;
  if (link.writeByte(kFactor, static_cast<uint32_t>(s.factorCode)) != 0) return 4;
  for (int i = 0; i < kShiftLeds; ++i) {
    const auto red = static_cast<uint32_t>(rpmToShiftValue(s.red[i], s.factorCode));
    const auto green = static_cast<uint32_t>(rpmToShiftValue(s.green[i], s.factorCode));
    if (link.writeWord(led(kRed, i), red) != 0 || link.writeWord(led(kGreen, i), green) != 0)
      return 5;
  }
  if (link.writeWord(kLimiter, static_cast<uint32_t>(rpmToShiftValue(s.limiter, s.factorCode))) !=
      0)
    return 6;
  return restartAndClose(link);
}

int32_t testShiftDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts) {
  static constexpr uint8_t kChannels[] = {0, 1};
  return runDisplayTest(link, prompts, kAddress, kChannels, true);
}

int32_t resetShiftMaximum(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                          ShiftDisplaySettings& s) {
  (void)prompts;
  uint16_t version = 0;
  link.selectModule(kAddress);
  int32_t e = link.readFirmwareVersion(version);
  if (e == 0) e = link.writeByte(kMaximum, 255);
  if (e == 0) e = link.writeByte(kMaximum + 1, 255);
  if (e == 0) s.maximum = 0;
  link.close();
  return e;
}

int32_t LiveValueWindow::start() {
  uint16_t version = 0;
  return openDisplayClosing(link_, prompts_, address_, version);
}

std::optional<int32_t> LiveValueWindow::tick() {
  return read();
}

void LiveValueWindow::finish() {
  link_.restartModule();
  link_.close();
}

ShiftRpmWindow::ShiftRpmWindow(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                               int32_t factorCode)
    : LiveValueWindow(link, prompts, kAddress), factorCode_(factorCode) {}

std::optional<int32_t> ShiftRpmWindow::read() {
  uint16_t period = 0;
  if (link_.readPeriod(period) != 0) return std::nullopt;
  return shiftValueToRpm(period, factorCode_);
}

}  // namespace displays
