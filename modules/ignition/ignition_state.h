#pragma once

#include <cstdint>
#include <string>

#include "modules/ignition/curve_list.h"
#include "modules/ignition/ignition_record.h"

namespace ignition {

class PinEntry;

// The ignition page's data without its widgets: the record, the two rpm
// curve lists, the limiter edit, the validity flags and the texts of the
// page's statics. Reading, writing, loading and saving work on this, so the
// same operations run behind the buttons and in tests.
struct IgnitionState {
  IgnitionRecord record;
  CurveList curve1;  // list 3008, "Zündkurve 1"
  CurveList curve2;  // list 3009, "Zündkurve 2"
  // The limiter edit (3010) in rpm: the authority when writing and saving.
  int32_t limiterEdit = 12500;
  bool recordValid = false;
  bool dumpPresent = false;

  // Texts of the page's statics, set by the operations.
  std::string versionText;         // 3012
  std::string typeText;            // 3856
  std::string serialText;          // 3208
  std::string temperatureText;     // 3014
  std::string maxTemperatureText;  // 3016

  // How the PIN check asks for the PIN; none: a plain text prompt.
  PinEntry* pinEntry = nullptr;
};

// The standard curves a new page starts with.
inline void setStandardCurves(IgnitionState& s) {
  s.curve1.setPoints({{800, 5}, {3000, 30}});
  s.curve2.setPoints({{800, 0}, {3000, 0}});
}

// The state of a newly created page: defaults, standard curves, and the
// limiter edit at the firmware's highest limiter.
inline void initialiseState(IgnitionState& s) {
  resetRecord(s.record);
  s.recordValid = false;
  setStandardCurves(s);
  s.limiterEdit = (s.record.firmwareVersion >> 8) > 5 ? 12500 : 9950;
}

// Direct mode resets both curves to flat lines (and, before 0x702, the
// limiter edit to its default); returns true when direct mode is active.
inline bool reevaluateDirectMode(IgnitionState& s) {
  if (!applyDirectMode(s.record)) return false;
  s.curve1.setPoints({{800, 0}, {3000, 0}});
  s.curve2.setPoints({{800, 0}, {3000, 0}});
  if (s.record.firmwareVersion < 0x702) {
    s.limiterEdit = (s.record.firmwareVersion >> 8) > 5 ? 12500 : 9950;
  }
  return true;
}

}  // namespace ignition
