#pragma once

#include <cstdint>

// Texts of the display pages.
namespace texts {

constexpr int32_t kTextDisplayWriteError = 8048;  // "Schreibfehler"
constexpr int32_t kTextDisplayReadError = 8051;   // "Lese-Fehler"
constexpr int32_t kTextDisplayTestEnd = 8095;     // "Ok zum Beenden des Displaytest"
constexpr int32_t kTextBarProgrammed = 8096;  // "Programmierung OK wenn Leds im Wechsel blinken."
constexpr int32_t kTextClearSensorValues = 8097;  // "Aktuelle Sensorwerte löschen ?"

// Tooltips of the bar display page.
constexpr int32_t kTipBarWrite = 8800;
constexpr int32_t kTipBarLoad = 8801;
constexpr int32_t kTipBarSave = 8802;
constexpr int32_t kTipBarSerial = 8803;
constexpr int32_t kTipBarTest = 8804;
constexpr int32_t kTipBarDisplayNumber = 8805;
constexpr int32_t kTipBarDisplayAddress = 8806;
constexpr int32_t kTipBarStartValue = 8807;
constexpr int32_t kTipBarStep = 8808;
constexpr int32_t kTipBarStandard = 8809;
constexpr int32_t kTipBarLambda = 8810;
constexpr int32_t kTipBarRpm = 8811;
constexpr int32_t kTipBarLambdaOld = 8812;
constexpr int32_t kTipBarNeverOff = 8813;
constexpr int32_t kTipBarIntermediate = 8814;
constexpr int32_t kTipBarBar = 8815;
constexpr int32_t kTipBarPeakHold = 8816;
constexpr int32_t kTipBarBrightness = 8817;

}  // namespace texts
