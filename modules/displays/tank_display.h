#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "shell/user_prompts.h"

namespace displays {

struct TankCalibrationPoint {
  int32_t litres = 0;  // 0-255
  int32_t raw = 0;     // 0-1023
};

// A calibration list as the page shows it: the points' texts
// ("%03i L %04i"), kept in text order, which is litres order. A loaded file
// may bring lines of another form; they stay as they are.
using TankCalibrationList = std::vector<std::string>;

constexpr int kTankListPoints = 20;
constexpr int kTankTables = 3;

std::string tankPointText(const TankCalibrationPoint& p);
// The point a list text stands for (what a line of another form gives is
// read as far as it goes).
TankCalibrationPoint tankPointOf(const std::string& text);
// Refused (false) when the list holds more than 20 points already, when a
// point with the same litres exists, or when the raw values would no longer
// fall strictly with rising litres.
bool addTankPoint(TankCalibrationList& list, const TankCalibrationPoint& p);
// A line as it stands, at its place in text order (a loaded file).
void insertTankLine(TankCalibrationList& list, const std::string& text);

struct TankDisplaySettings {
  int32_t dayBrightness = 80;
  int32_t nightBrightness = 20;
  int32_t lowerLimit = 255;
  int32_t upperLimit = 255;
  bool lowOn = false;  // "low ein"; the module gets 0 for it, 1 for "low aus"
  int32_t refreshTime = 30;
  std::optional<int32_t> minimum;  // recorded by the module, read only
  std::optional<int32_t> maximum;
  std::array<TankCalibrationList, 2> sensors;
  uint16_t version = 0;
};

int32_t checkTankDisplay(const TankDisplaySettings& s);
int32_t readTankDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        TankDisplaySettings& s);
int32_t writeTankDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                         const TankDisplaySettings& s);
int32_t testTankDisplay(buslink::ModuleLink& link, shell::UserPrompts& prompts);
// "Löschen" beside min/max: the module starts recording afresh. No message.
int32_t resetTankMinMax(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                        TankDisplaySettings& s);

// "Tankgeber lernen": calibration points from the live sensor values.
class TankTeachIn {
 public:
  static constexpr int kTickMs = 100;

  TankTeachIn(buslink::ModuleLink& link, shell::UserPrompts& prompts, TankDisplaySettings& s)
      : link_(link), prompts_(prompts), s_(s) {}
  // Select and identify (failure shown: 1), ask whether to clear the lists.
  int32_t start();
  // Both sensors' raw values, read every tick.
  void tick();
  const std::array<std::optional<int32_t>, 2>& raw() const { return raw_; }
  // "nächster": a point for each sensor whose litres are given; a refused
  // point is told with 8045. True when every given point was taken.
  bool next(const std::array<std::optional<int32_t>, 2>& litres);
  void finish();

 private:
  buslink::ModuleLink& link_;
  shell::UserPrompts& prompts_;
  TankDisplaySettings& s_;
  std::array<std::optional<int32_t>, 2> raw_{};
};

// The external gauge ("learn extern display"): the module learns its output
// at 0, 1/4, 1/2, 3/4 and the whole tank.
struct TankGaugeScale {
  int32_t capacity = 0;
  int32_t exponent = 6;
  std::array<int32_t, 5> fractions{};
};
TankGaugeScale tankGaugeScale(const TankDisplaySettings& s);

class TankGaugeTeachIn {
 public:
  TankGaugeTeachIn(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                   const TankDisplaySettings& s)
      : link_(link), prompts_(prompts), scale_(tankGaugeScale(s)) {}
  // Select and identify (failure shown: 1); a capacity of 0 gives 2 and the
  // dialog closes at once. Else the exponent goes to the module and point 0.
  int32_t start();
  // Radio button k (0-4): the module learns that fraction of the tank.
  void choose(int k);
  void finish();
  const TankGaugeScale& scale() const { return scale_; }

 private:
  buslink::ModuleLink& link_;
  shell::UserPrompts& prompts_;
  TankGaugeScale scale_;
};

// *.velTank, read line by line. Load: 0 (also when a missing tag line or an
// unreadable number ends it quietly); 8016; 8059 not a tank display file.
int32_t loadTankDisplayFile(TankDisplaySettings& s, const std::string& path);
std::string tankDisplayFileText(const TankDisplaySettings& s);
int32_t saveTankDisplayFile(const TankDisplaySettings& s, const std::string& path);

}  // namespace displays
