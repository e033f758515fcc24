#include "modules/displays/tank_display.h"

#include <algorithm>

#include "modules/displays/display_operation.h"
#include "texts/display_text_ids.h"
#include "texts/text_ids.h"

namespace displays {

namespace {

constexpr uint8_t kAddress = 0x90;
constexpr uint8_t kLowLevel = 7;
constexpr uint8_t kMinimum = 48;
constexpr uint8_t kMaximum = 49;
constexpr uint8_t kScaleExponent = 9;
constexpr uint8_t kTableEnd = 255;
constexpr int32_t kTableStep = 10;

constexpr uint8_t tableStart(int table) {
  return static_cast<uint8_t>(64 + 64 * table);
}

// The brightness, limit and refresh cells in the order the module is read;
// the low-level byte sits between them.
constexpr ByteCell<TankDisplaySettings> kBeforeLowLevel[] = {
    {2, &TankDisplaySettings::dayBrightness, 2, 2},
    {1, &TankDisplaySettings::nightBrightness, 3, 3},
    {4, &TankDisplaySettings::lowerLimit, 4, 4},
    {5, &TankDisplaySettings::upperLimit, 5, 5},
};
constexpr ByteCell<TankDisplaySettings> kRefresh[] = {
    {6, &TankDisplaySettings::refreshTime, 6, 6},
};

int32_t readTable(buslink::ModuleLink& link, int table, TankCalibrationList& list) {
  list.clear();
  for (int e = 0; e < kTankListPoints; ++e) {
    const uint8_t at = static_cast<uint8_t>(tableStart(table) + 3 * e);
    uint8_t litres = 0, high = 0, low = 0;
    if (link.readByte(at, litres) != 0) return kTableStep;
    if (litres == kTableEnd) break;
    if (link.readByte(static_cast<uint8_t>(at + 1), high) != 0 ||
        link.readByte(static_cast<uint8_t>(at + 2), low) != 0)
      return kTableStep;
    addTankPoint(list, {litres, high * 256 + low});
  }
  return 0;
}

int32_t writeTable(buslink::ModuleLink& link, int table, const TankCalibrationList& list) {
  if (list.size() > static_cast<size_t>(kTankListPoints)) return kTableStep;
  std::vector<TankCalibrationPoint> points;
  for (const std::string& text : list) points.push_back(tankPointOf(text));
  // The module keeps its points by raw value, smallest first.
  for (size_t pass = 0; pass + 1 < points.size(); ++pass) {
    for (size_t i = 0; i + 1 < points.size() - pass; ++i) {
      if (points[i].raw > points[i + 1].raw) std::swap(points[i], points[i + 1]);
    }
  }
  uint8_t at = tableStart(table);
  for (const TankCalibrationPoint& p : points) {
    if (link.writeByte(at, static_cast<uint32_t>(p.litres)) != 0 ||
        link.writeByte(static_cast<uint8_t>(at + 1), static_cast<uint32_t>(p.raw >> 8)) != 0 ||
        link.writeByte(static_cast<uint8_t>(at + 2), static_cast<uint32_t>(p.raw & 0xFF)) != 0)
      return kTableStep;
    at = static_cast<uint8_t>(at + 3);
  }
  return link.writeByte(at, kTableEnd) == 0 ? 0 : kTableStep;
}

}  // namespace

int32_t checkTankDisplay(const TankDisplaySettings& s) {
  for (int32_t e :
       {checkRange(s.dayBrightness, 0, 255), checkRange(s.nightBrightness, 0, 255),
        checkRange(s.lowerLimit, 0, s.upperLimit), checkRange(s.upperLimit, s.lowerLimit, 255),
        checkRange(s.refreshTime, 1, 255)}) {
    if (e != 0) return e;
  }
  for (const TankCalibrationList& list : s.sensors) {
    for (const std::string& text : list) {
      const TankCalibrationPoint p = tankPointOf(text);
      if (checkRange(p.litres, 0, 255) != 0 || checkRange(p.raw, 0, 1023) != 0)
        return texts::kTextParameterOutOfRange;
    }
  }
  return 0;
}

int32_t readTankDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        TankDisplaySettings& s) {
  if (openDisplay(link, prompts, kAddress, s.version) != 0) return kStatusReported;
  if (int32_t e = readCells<TankDisplaySettings>(link, s, kBeforeLowLevel); e != 0) return e;
  uint8_t b = 0;
  if (link.readByte(kLowLevel, b) != 0) return 5;
  s.lowOn = b == 0;
  if (int32_t e = readCells<TankDisplaySettings>(link, s, kRefresh); e != 0) return e;
  if (link.readByte(kMinimum, b) != 0) return 7;
  s.minimum = b;
  if (link.readByte(kMaximum, b) != 0) return 8;
  s.maximum = b;
  TankCalibrationList third;
  for (int table = 0; table < kTankTables; ++table) {
    TankCalibrationList& list = table < 2 ? s.sensors[table] : third;
    if (int32_t e = readTable(link, table, list); e != 0) return e;
  }
  link.close();
  return 0;
}

int32_t writeTankDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                         const TankDisplaySettings& s) {
  if (int32_t e = checkTankDisplay(s); e != 0) {
    prompts.showMessage(e);
    return kStatusReported;
  }
  uint16_t version = 0;
  if (openDisplay(link, prompts, kAddress, version) != 0) return kStatusReported;
  if (int32_t e = writeCells<TankDisplaySettings>(link, s, kBeforeLowLevel); e != 0) return e;
  if (link.writeByte(kLowLevel, s.lowOn ? 0 : 1) != 0) return 5;
  if (int32_t e = writeCells<TankDisplaySettings>(link, s, kRefresh); e != 0) return e;
  const TankCalibrationList none;
  for (int table = 0; table < kTankTables; ++table) {
    if (int32_t e = writeTable(link, table, table < 2 ? s.sensors[table] : none); e != 0) return e;
  }
  return restartAndClose(link);
}

int32_t testTankDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts) {
  static constexpr uint8_t kDigits[] = {0, 1, 2};
  return runDisplayTest(link, prompts, kAddress, kDigits, false);
}

int32_t resetTankMinMax(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        TankDisplaySettings& s) {
  (void)prompts;
  uint16_t version = 0;
  link.selectModule(kAddress);
  int32_t e = link.readFirmwareVersion(version);
  if (e == 0) e = link.writeByte(kMinimum, 255);
  if (e == 0) e = link.writeByte(kMaximum, 0);
  if (e == 0) {
    s.minimum.reset();
    s.maximum.reset();
  }
  link.close();
  return e;
}

// --- teach-in ----------------------------------------------------------------

int32_t TankTeachIn::start() {
  uint16_t version = 0;
  if (openDisplayClosing(link_, prompts_, kAddress, version) != 0) return kStatusReported;
  if (prompts_.askYesNo(texts::kTextClearSensorValues)) {
    for (TankCalibrationList& list : s_.sensors) list.clear();
  }
  raw_ = {};
  link_.selectModule(kAddress);
  for (uint8_t digit = 0; digit < 3; ++digit) link_.displayControl(digit, 11);
  return 0;
}

void TankTeachIn::tick() {
  for (uint8_t sensor = 0; sensor < 2; ++sensor) {
    uint16_t v = 0;
    if (link_.readLiveValueLenient(sensor, v) == 0) raw_[sensor] = v;
  }
}

bool TankTeachIn::next(const std::array<std::optional<int32_t>, 2>& litres) {
  bool taken = true;
  for (size_t sensor = 0; sensor < 2; ++sensor) {
    if (!litres[sensor]) continue;
    const TankCalibrationPoint p{*litres[sensor], raw_[sensor].value_or(0)};
    if (checkRange(p.litres, 0, 255) != 0 || !addTankPoint(s_.sensors[sensor], p)) {
      prompts_.showMessage(texts::kTextParameterOutOfRange);
      taken = false;
    }
  }
  return taken;
}

void TankTeachIn::finish() {
  link_.restartModule();
  link_.close();
}

int32_t TankGaugeTeachIn::start() {
  uint16_t version = 0;
  if (openDisplayClosing(link_, prompts_, kAddress, version) != 0) return kStatusReported;
  if (scale_.capacity == 0) {
    link_.close();
    return 2;
  }
  link_.writeByte(kScaleExponent, static_cast<uint32_t>(scale_.exponent));
  link_.storeLearnPoint(0);
  return 0;
}

void TankGaugeTeachIn::choose(int k) {
  if (k < 0 || k > 4) return;
  // The module takes one byte: two large tanks overflow it.
  link_.storeLearnPoint(static_cast<uint8_t>(scale_.fractions[k] & 0xFF));
}

void TankGaugeTeachIn::finish() {
  link_.restartModule();
  link_.close();
}

}  // namespace displays
