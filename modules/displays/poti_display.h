#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/module_link.h"
#include "modules/displays/shift_display.h"
#include "shell/user_prompts.h"

namespace displays {

constexpr int kPotiLeds = 7;

// Thresholds 0-255; 0 is an empty field.
struct PotiDisplaySettings {
  int32_t dayBrightness = 80;
  int32_t nightBrightness = 20;
  bool internalReference = false;
  std::optional<int32_t> switchOffTime;  // "Ausschalten nach", seconds
  std::array<int32_t, kPotiLeds> green{};
  std::array<int32_t, kPotiLeds> red{};
  uint16_t version = 0;
};

int32_t checkPotiDisplay(const PotiDisplaySettings& s);
int32_t readPotiDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        PotiDisplaySettings& s);
int32_t writePotiDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                         const PotiDisplaySettings& s);
int32_t testPotiDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts);

// "Messwert-Anzeige": the measured input value.
class PotiValueWindow : public LiveValueWindow {
 public:
  PotiValueWindow(buslink::ModuleLink& link, shell::UserPrompts& prompts);

 protected:
  std::optional<int32_t> read() override;
};

// *.velPoti. Load: 0 (also when it ends quietly); 8016; 8059; 8015 when
// "[RefIntern]" or "[PowerDown]" is missing.
int32_t loadPotiDisplayFile(PotiDisplaySettings& s, const std::string& path);
std::string potiDisplayFileText(const PotiDisplaySettings& s);
int32_t savePotiDisplayFile(const PotiDisplaySettings& s, const std::string& path);

}  // namespace displays
