#pragma once

#include <cstdint>

// Messages of the ignition page's dialogs.
namespace texts {

constexpr int32_t kTextSenderModeStandard = 8063;      // " 0 = Standard"
constexpr int32_t kTextSenderModeProcar = 8064;        // " 1 = BMW M1 Procar"
constexpr int32_t kTextSenderModePointed = 8065;       // " 2 = Spitzengeber ab HKZ Hw 2.6"
constexpr int32_t kTextLoggingAndDisplay = 8075;       // "Loggen und externe Anzeige …"
constexpr int32_t kTextTeethDoNotFitCylinders = 8076;  // "Zähnezahl und Zylinderzahl …"
// A rejected stroke count is reported as this number, not as the one typed.
constexpr int32_t kWrongStrokesNumber = 10000;

}  // namespace texts
