#pragma once

#include <cstdint>
#include <string>

#include "link/module_link.h"
#include "shell/user_prompts.h"

namespace displays {

// What a bar display shows ("Modul-Funktion").
enum BarMode : uint8_t { kBarStandard = 0, kBarLambda = 1, kBarRpm = 2, kBarLambdaOld = 3 };

// Behaviour flags ("Anzeige-Verhalten").
constexpr uint8_t kBarNeverOff = 1;      // "Leds nie ganz aus"
constexpr uint8_t kBarIntermediate = 2;  // "Zwischenstufen"
constexpr uint8_t kBarAsBar = 4;         // "Balken"
constexpr uint8_t kBarPeakHold = 8;      // "Peak-hold", kept although never shown

struct BarDisplaySettings {
  int32_t serialNumber = 1000000;
  int32_t displayNumber = 1;
  int32_t displayAddress = 240;
  uint8_t mode = kBarStandard;
  uint8_t flags = 0;
  int32_t startValue = 2000;
  int32_t step = 100;
  int32_t brightness = 255;
};

// Memory cells of the bar display.
namespace bar_addr {
constexpr uint8_t kBrightness = 2;
constexpr uint8_t kDisplayAddress = 16;
constexpr uint8_t kMode = 17;
constexpr uint8_t kFlags = 18;
constexpr uint8_t kStep = 32;
constexpr uint8_t kStartValue = 34;
}  // namespace bar_addr

// The serial number the display answers to: the printed one, plus
// (display number - 1) x 10 000 000 for the further displays of a housing,
// as eight packed BCD digits.
uint32_t barBusSerialBcd(int32_t serialNumber, int32_t displayNumber);

// 0, or 8045 when a field holds a value outside its range.
int32_t checkBarDisplay(const BarDisplaySettings& s);

// "Schreiben": the display never answers, so only the echo of the first
// written byte is checked; the user sees success by the LEDs blinking in
// turn. Shows every outcome itself; 0 on success, else the text shown.
int32_t writeBarDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        const BarDisplaySettings& s);

// "Anz.-Test": the display runs through its 18 test patterns, one per tick
// (100 ms), while the page's message is open.
class BarDisplayTest {
 public:
  static constexpr int kPatterns = 18;
  static constexpr int kTickMs = 100;

  BarDisplayTest(buslink::ModuleLink& link, shell::UserPrompts& prompts)
      : link_(link), prompts_(prompts) {}
  // Selects the display; a failure is shown and gives its text.
  int32_t start(const BarDisplaySettings& s);
  // The next pattern, 1 ... 18, 1, ...
  void tick();
  // After the user's OK.
  void finish();
  int pattern() const { return pattern_; }

 private:
  buslink::ModuleLink& link_;
  shell::UserPrompts& prompts_;
  int pattern_ = 0;
};

// The settings file (*.velBalken). Load: 0; 8016 cannot open; 8059 not a
// bar display file (nothing changed); 8015 a tag is missing or a value is no
// number (fields read until then kept, the others at their defaults).
int32_t loadBarDisplayFile(BarDisplaySettings& s, const std::string& path);
std::string barDisplayFileText(const BarDisplaySettings& s);
int32_t saveBarDisplayFile(const BarDisplaySettings& s, const std::string& path);

}  // namespace displays
