#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/module_link.h"
#include "shell/user_prompts.h"

namespace displays {

// Symbol codes of the gear display.
constexpr uint8_t kGearSymbolZero = 0;
constexpr uint8_t kGearSymbolR = 10;
constexpr uint8_t kGearSymbolDash = 11;
constexpr uint8_t kGearSymbolSmallR = 12;
constexpr uint8_t kGearSymbolTest = 14;
constexpr uint8_t kGearSymbolBlank = 15;
constexpr int kGearTableEntries = 13;
constexpr int kGears = 8;

// An empty field is nullopt; the module gets 0 for it.
struct GearDisplaySettings {
  std::optional<int32_t> reverseValue;
  std::optional<int32_t> neutralValue;
  std::array<std::optional<int32_t>, kGears> gearValues{};
  uint8_t reverseSymbol = kGearSymbolDash;  // "-", "r" or "R"
  uint8_t neutralSymbol = kGearSymbolZero;  // "0" or "-"
  bool internalReference = false;
  int32_t dayBrightness = 80;
  int32_t nightBrightness = 20;
  uint16_t version = 0;  // shown after a read
};

// The symbol lists of the page: text and code.
struct GearSymbol {
  const char* text;
  uint8_t code;
};
constexpr std::array<GearSymbol, 3> kReverseSymbols{{{"-", 11}, {"r", 12}, {"R", 10}}};
constexpr std::array<GearSymbol, 2> kNeutralSymbols{{{"0", 0}, {"-", 11}}};
// The text a symbol code stands for ("1" ... "8" for the gears).
std::string gearSymbolText(uint8_t code);

struct GearEntry {
  uint8_t code;
  int32_t value;
};
using GearTable = std::array<GearEntry, kGearTableEntries>;

// The table the module gets: one entry per symbol, sorted by value from
// high to low (equal values keep their order), unused entries blank.
GearTable gearTableFor(const GearDisplaySettings& s);
// One entry of a read or a loaded file into the page's fields.
// `hasZeroCode` tells "-" for neutral from "-" for reverse.
void putGearEntry(GearDisplaySettings& s, uint8_t code, int32_t value, bool hasZeroCode);

int32_t checkGearDisplay(const GearDisplaySettings& s);
int32_t readGearDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        GearDisplaySettings& s);
int32_t writeGearDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                         const GearDisplaySettings& s);
int32_t testGearDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts);

// "Gänge lernen": the user engages reverse, neutral and each gear in turn;
// the display shows the symbol being taught and the page takes the sensor
// value the module reports.
class GearTeachIn {
 public:
  static constexpr int kSteps = 2 + kGears;
  static constexpr int kTickMs = 100;

  GearTeachIn(buslink::ModuleLink& link, shell::UserPrompts& prompts, GearDisplaySettings& s)
      : link_(link), prompts_(prompts), s_(s) {}
  // Select and identify (a failure is shown, 1), clear the taught fields and
  // show the reverse symbol.
  int32_t start();
  // The sensor value, read every tick.
  std::optional<int32_t> tick();
  // "nächster" stores the shown value, "überspringen" does not; both go on.
  // False once the last gear was done: the dialog then closes as with "Ok".
  bool next();
  bool skip();
  void finish();
  int step() const { return step_; }
  // The symbol of the current step ("Gang").
  std::string symbolText() const;
  std::optional<int32_t> value() const { return value_; }

 private:
  uint8_t codeOf(int step) const;
  bool advance();

  buslink::ModuleLink& link_;
  shell::UserPrompts& prompts_;
  GearDisplaySettings& s_;
  int step_ = 0;
  std::optional<int32_t> value_;
};

// *.velGang, read line by line. Load: 0 (also when an unreadable line
// ends it quietly); 8016; 8059 not a gear display file; 8015 "[RefIntern]"
// missing.
int32_t loadGearDisplayFile(GearDisplaySettings& s, const std::string& path);
std::string gearDisplayFileText(const GearDisplaySettings& s);
int32_t saveGearDisplayFile(const GearDisplaySettings& s, const std::string& path);

}  // namespace displays
