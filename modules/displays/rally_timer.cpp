#include "modules/displays/rally_timer.h"

#include <algorithm>
#include <cstdio>

#include "modules/displays/display_operation.h"
#include "texts/text_ids.h"

namespace displays {

namespace {

constexpr uint8_t kAddress = 0xC0;
constexpr uint8_t kSlots = 224;
constexpr uint8_t kRecords = 128;
constexpr uint8_t kEmpty = 255;

constexpr ByteCell<RallyTimerSettings> kCells[] = {
    {2, &RallyTimerSettings::dayBrightness, 2, 2},
    {1, &RallyTimerSettings::nightBrightness, 3, 3},
    {3, &RallyTimerSettings::signalBeforeZero, 4, 4},
};

}  // namespace

int32_t fromRallyBcd(uint8_t byte) {
  const int32_t low = byte & 0x0F;
  const int32_t v = (byte >> 4) * 10 + low;
  return low > 9 || v >= 100 ? 0 : v;
}

uint8_t toRallyBcd(int32_t number) {
  if (number < 0 || number > 99) return 0;
  return static_cast<uint8_t>(number / 10 * 16 + number % 10);
}

std::string rallyTargetText(const RallyLapTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%02i %03i.%01i", t.number, t.tenths / 10, t.tenths % 10);
  return text;
}

std::string rallyRecordText(int32_t first, int32_t second) {
  char text[40];
  std::snprintf(text, sizeof text, "%03i.%01i %03i.%01i", first / 10, first % 10, second / 10,
                second % 10);
  return text;
}

bool addRallyTarget(std::vector<RallyLapTime>& targets, const RallyLapTime& t) {
  if (targets.size() > kRallyListLimit - 1) return false;
  auto at = std::upper_bound(
      targets.begin(), targets.end(), t,
      [](const RallyLapTime& a, const RallyLapTime& b) { return a.number < b.number; });
  targets.insert(at, t);
  return true;
}

bool editRallyTarget(std::vector<RallyLapTime>& targets, size_t index, int32_t tenths) {
  if (index >= targets.size()) return false;
  const RallyLapTime old = targets[index];
  targets.erase(targets.begin() + static_cast<std::ptrdiff_t>(index));
  if (addRallyTarget(targets, {old.number, tenths})) return true;
  addRallyTarget(targets, old);
  return false;
}

int32_t checkRallyTimer(const RallyTimerSettings& s) {
  if (checkRange(s.dayBrightness, 0, 255) != 0 || checkRange(s.nightBrightness, 0, 255) != 0 ||
      checkRange(s.signalBeforeZero, 0, 99) != 0)
    return texts::kTextParameterOutOfRange;
  for (const RallyLapTime& t : s.targets) {
    if (checkRange(t.tenths, 0, 9999) != 0 || checkRange(t.number, 1, kRallySlots) != 0)
      return texts::kTextParameterOutOfRange;
  }
  return 0;
}

int32_t readRallyTimer(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                       RallyTimerSettings& s) {
  if (openDisplay(link, prompts, kAddress, s.version) != 0) return kStatusReported;
  if (int32_t e = readCells<RallyTimerSettings>(link, s, kCells); e != 0) return e;
  s.targets.clear();
  for (int k = 0; k < kRallySlots; ++k) {
    uint8_t first = 0, second = 0;
    if (link.readByte(static_cast<uint8_t>(kSlots + 2 * k), first) != 0) return 10;
    if (first == kEmpty) continue;
    if (link.readByte(static_cast<uint8_t>(kSlots + 2 * k + 1), second) != 0) return 10;
    addRallyTarget(s.targets, {k + 1, fromRallyBcd(first) * 100 + fromRallyBcd(second)});
  }
  s.recorded.clear();
  for (int k = 0; k < kRallyRecords; ++k) {
    const uint8_t at = static_cast<uint8_t>(kRecords + 4 * k);
    uint8_t b[4] = {};
    if (link.readByte(at, b[0]) != 0) return 10;
    if (b[0] == kEmpty) continue;
    for (int i = 1; i < 4; ++i) {
      if (link.readByte(static_cast<uint8_t>(at + i), b[i]) != 0) return 10;
    }
    s.recorded.push_back(
        rallyRecordText(fromRallyBcd(b[0]) * 100 + fromRallyBcd(b[1]), b[2] * 256 + b[3]));
  }
  return 0;
}

int32_t writeRallyTimer(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        const RallyTimerSettings& s) {
  if (int32_t e = checkRallyTimer(s); e != 0) {
    prompts.showMessage(e);
    return kStatusReported;
  }
  uint16_t version = 0;
  if (openDisplay(link, prompts, kAddress, version) != 0) return kStatusReported;
  if (int32_t e = writeCells<RallyTimerSettings>(link, s, kCells); e != 0) return e;
  int slot = 0;
  for (const RallyLapTime& t : s.targets) {
    while (slot < t.number - 1) {
      const uint8_t at = static_cast<uint8_t>(kSlots + 2 * slot);
      if (link.writeByte(at, kEmpty) != 0 ||
          link.writeByte(static_cast<uint8_t>(at + 1), kEmpty) != 0)
        return 5;
      ++slot;
    }
    const uint8_t at = static_cast<uint8_t>(kSlots + 2 * slot);
    if (link.writeByte(at, toRallyBcd(t.tenths / 100)) != 0 ||
        link.writeByte(static_cast<uint8_t>(at + 1), toRallyBcd(t.tenths % 100)) != 0)
      return 6;
    ++slot;
  }
  return link.restartModule() == 0 ? 0 : kStatusRestart;
}

int32_t testRallyTimer(buslink::ModuleLink& link, shell::UserPrompts& prompts) {
  static constexpr uint8_t kDigits[] = {0, 1, 2};
  return runDisplayTest(link, prompts, kAddress, kDigits, false);
}

}  // namespace displays
