#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/module_link.h"
#include "shell/user_prompts.h"

namespace displays {

constexpr int kShiftLeds = 7;

// The speed factor list: text and factor code (twice the factor).
struct SpeedFactor {
  const char* text;
  int32_t code;
};
constexpr std::array<SpeedFactor, 8> kSpeedFactors{{{"0,5", 1},
                                                    {"1,0", 2},
                                                    {"2,0", 4},
                                                    {"2,5", 5},
                                                    {"3,0", 6},
                                                    {"4,0", 8},
                                                    {"5,0", 10},
                                                    {"6,0", 12}}};
bool isSpeedFactorCode(int32_t code);

// Conversions between engine speed and the module's period values, with
// every division truncating in the module's order. 0 stays 0.
int32_t rpmToShiftValue(int32_t rpm, int32_t factorCode);
int32_t shiftValueToRpm(int32_t value, int32_t factorCode);
// The highest threshold a field takes: 60 000 000 / (1024 x code), at most 9999.
int32_t shiftUpperBound(int32_t factorCode);

// Thresholds in rpm; 0 is an empty field.
struct ShiftDisplaySettings {
  int32_t dayBrightness = 80;
  int32_t nightBrightness = 20;
  int32_t factorCode = 2;  // "1,0"
  std::array<int32_t, kShiftLeds> green{};
  std::array<int32_t, kShiftLeds> red{};
  int32_t limiter = 0;             // the page keeps its field hidden
  std::optional<int32_t> maximum;  // recorded by the module, rpm
  std::optional<uint32_t> serialNumber;
  std::optional<uint16_t> version;
};

// A threshold field: empty, or 500 up to the bound of the factor.
bool shiftThresholdFits(int32_t rpm, int32_t factorCode);
int32_t checkShiftDisplay(const ShiftDisplaySettings& s);
int32_t readShiftDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                         ShiftDisplaySettings& s);
int32_t writeShiftDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                          const ShiftDisplaySettings& s);
int32_t testShiftDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts);
// "löschen": the recorded maximum starts afresh. No message.
int32_t resetShiftMaximum(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                          ShiftDisplaySettings& s);

// A live window over the link ("Drehzahl-Anzeige", "Messwert-Anzeige"):
// select and identify on start (failure shown: 1), one reading per tick,
// restart and close on OK.
class LiveValueWindow {
 public:
  static constexpr int kTickMs = 100;
  virtual ~LiveValueWindow() = default;
  int32_t start();
  std::optional<int32_t> tick();
  void finish();

 protected:
  LiveValueWindow(buslink::ModuleLink& link, shell::UserPrompts& prompts, uint8_t address)
      : link_(link), prompts_(prompts), address_(address) {}
  virtual std::optional<int32_t> read() = 0;
  buslink::ModuleLink& link_;

 private:
  shell::UserPrompts& prompts_;
  uint8_t address_;
};

// The engine speed from the module's period, in rpm.
class ShiftRpmWindow : public LiveValueWindow {
 public:
  ShiftRpmWindow(buslink::ModuleLink& link, shell::UserPrompts& prompts, int32_t factorCode);

 protected:
  std::optional<int32_t> read() override;

 private:
  int32_t factorCode_;
};

// *.velSchalt. Load: 0 (also when it ends quietly); 8016; 8059.
int32_t loadShiftDisplayFile(ShiftDisplaySettings& s, const std::string& path);
std::string shiftDisplayFileText(const ShiftDisplaySettings& s);
int32_t saveShiftDisplayFile(const ShiftDisplaySettings& s, const std::string& path);

}  // namespace displays
