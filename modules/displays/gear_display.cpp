#include "modules/displays/gear_display.h"

#include "modules/displays/display_kind.h"
#include "modules/displays/display_operation.h"
#include "texts/text_ids.h"

namespace displays {

namespace {

constexpr uint8_t kAddress = 0xA0;
constexpr uint8_t kNight = 1;
constexpr uint8_t kDay = 2;
constexpr uint8_t kReference = 8;
constexpr uint8_t kValues = 16;
constexpr uint8_t kCodes = 32;

int32_t valueOf(const std::optional<int32_t>& field) {
  return field.value_or(0);
}

}  // namespace

std::string gearSymbolText(uint8_t code) {
  if (code >= 1 && code <= kGears) return std::to_string(code);
  switch (code) {
    case kGearSymbolZero:
      return "0";
    case kGearSymbolR:
      return "R";
    case kGearSymbolDash:
      return "-";
    case kGearSymbolSmallR:
      return "r";
    default:
      return "";
  }
}

GearTable gearTableFor(const GearDisplaySettings& s) {
  GearTable t{};
  for (int i = 0; i < kGearTableEntries; ++i) t[i] = {static_cast<uint8_t>(i), 0};
  for (int g = 0; g < kGears; ++g) t[g + 1].value = valueOf(s.gearValues[g]);
  // With "-" for both the neutral value wins.
  t[s.reverseSymbol % kGearTableEntries].value = valueOf(s.reverseValue);
  t[s.neutralSymbol % kGearTableEntries].value = valueOf(s.neutralValue);
  for (int pass = 0; pass < kGearTableEntries - 1; ++pass) {
    for (int i = 0; i < kGearTableEntries - 1 - pass; ++i) {
      if (t[i].value < t[i + 1].value) std::swap(t[i], t[i + 1]);
    }
  }
  for (GearEntry& e : t) {
    if (e.value == 0) e.code = kGearSymbolBlank;
  }
  return t;
}

void putGearEntry(GearDisplaySettings& s, uint8_t code, int32_t value, bool hasZeroCode) {
  if (code >= 1 && code <= kGears) {
    s.gearValues[code - 1] = value;
    return;
  }
  switch (code) {
    case kGearSymbolZero:
      s.neutralSymbol = kGearSymbolZero;
      s.neutralValue = value;
      break;
    case kGearSymbolR:
    case kGearSymbolSmallR:
      s.reverseSymbol = code;
      s.reverseValue = value;
      break;
    case kGearSymbolDash:
      if (hasZeroCode) {
        s.reverseSymbol = kGearSymbolDash;
        s.reverseValue = value;
      } else {
        s.neutralSymbol = kGearSymbolDash;
        s.neutralValue = value;
      }
      break;
    default:
      break;
  }
}

int32_t checkGearDisplay(const GearDisplaySettings& s) {
  auto fits = [](const std::optional<int32_t>& v) { return checkRange(valueOf(v), 0, 255) == 0; };
  bool ok = fits(s.reverseValue) && fits(s.neutralValue) && fits(s.dayBrightness) &&
            fits(s.nightBrightness);
  for (const auto& g : s.gearValues) ok = ok && fits(g);
  return ok ? 0 : texts::kTextParameterOutOfRange;
}

int32_t readGearDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        GearDisplaySettings& s) {
  if (openDisplay(link, prompts, kAddress, s.version) != 0) return kStatusReported;
  uint8_t b = 0;
  if (link.readByte(kDay, b) != 0) return 2;
  s.dayBrightness = b;
  if (link.readByte(kNight, b) != 0) return 3;
  s.nightBrightness = b;
  if (link.readByte(kReference, b) != 0) return 3;
  s.internalReference = b == 0;
  GearTable t{};
  bool hasZeroCode = false;
  for (int i = 0; i < kGearTableEntries; ++i) {
    if (link.readByte(static_cast<uint8_t>(kCodes + i), t[i].code) != 0) return 4;
    uint8_t v = 0;
    if (link.readByte(static_cast<uint8_t>(kValues + i), v) != 0) return 5;
    t[i].value = v;
    hasZeroCode = hasZeroCode || t[i].code == kGearSymbolZero;
  }
  for (const GearEntry& e : t) putGearEntry(s, e.code, e.value, hasZeroCode);
  link.close();
  return 0;
}

int32_t writeGearDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                         const GearDisplaySettings& s) {
  if (int32_t e = checkGearDisplay(s); e != 0) {
    prompts.showMessage(e);
    return kStatusReported;
  }
  uint16_t version = 0;
  if (openDisplay(link, prompts, kAddress, version) != 0) return kStatusReported;
  if (link.writeByte(kDay, static_cast<uint32_t>(s.dayBrightness)) != 0) return 2;
  if (link.writeByte(kNight, static_cast<uint32_t>(s.nightBrightness)) != 0) return 3;
  if (link.writeByte(kReference, s.internalReference ? 0 : 1) != 0) return 3;
  const GearTable t = gearTableFor(s);
  for (int i = 0; i < kGearTableEntries; ++i) {
    if (link.writeByte(static_cast<uint8_t>(kCodes + i), t[i].code) != 0) return 4;
    if (link.writeByte(static_cast<uint8_t>(kValues + i), static_cast<uint32_t>(t[i].value)) != 0)
      return 5;
  }
  return restartAndClose(link);
}

int32_t testGearDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts) {
  static constexpr uint8_t kChannels[] = {0};
  return runDisplayTest(link, prompts, kAddress, kChannels, false);
}

// --- teach-in ----------------------------------------------------------------

uint8_t GearTeachIn::codeOf(int step) const {
  if (step == 0) return s_.reverseSymbol;
  if (step == 1) return s_.neutralSymbol;
  return static_cast<uint8_t>(step - 1);
}

std::string GearTeachIn::symbolText() const {
  return gearSymbolText(codeOf(step_));
}

int32_t GearTeachIn::start() {
  uint16_t version = 0;
  if (openDisplayClosing(link_, prompts_, kAddress, version) != 0) return kStatusReported;
  s_.reverseValue.reset();
  s_.neutralValue.reset();
  for (auto& g : s_.gearValues) g.reset();
  step_ = 0;
  value_.reset();
  link_.selectModule(kAddress);
  link_.displayControl(0, codeOf(step_));
  return 0;
}

std::optional<int32_t> GearTeachIn::tick() {
  uint16_t v = 0;
  if (link_.readLiveValue(0, v) == 0) value_ = v;
  return value_;
}

bool GearTeachIn::advance() {
  ++step_;
  if (step_ >= kSteps) return false;
  link_.displayControl(0, codeOf(step_));
  return true;
}

bool GearTeachIn::next() {
  const int32_t v = value_.value_or(0);
  if (step_ == 0) {
    s_.reverseValue = v;
  } else if (step_ == 1) {
    s_.neutralValue = v;
  } else if (step_ < kSteps) {
    s_.gearValues[step_ - 2] = v;
  }
  return advance();
}

bool GearTeachIn::skip() {
  return advance();
}

void GearTeachIn::finish() {
  link_.restartModule();
  link_.close();
}

}  // namespace displays
