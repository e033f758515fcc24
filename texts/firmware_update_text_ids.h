#pragma once

#include <cstdint>

// Texts of the firmware window and its update procedure.
namespace texts {

constexpr int32_t kTextStartProgramming = 8082;  // "Programmierung starten ?"
constexpr int32_t kTextSoftwareOlder = 8083;     // "Software älter als Geräte-Software !!!!!!"
constexpr int32_t kTextProgramAnyway = 8084;     // "Trotzdem Programmieren ?"
constexpr int32_t kTextProgrammingDone = 8087;   // "Programmierung erfolgreich beendet. ..."
constexpr int32_t kTextFirmwareUpdateRunning = 8330;  // "Firmware-Update läuft"
constexpr int32_t kTipLoadFirmware = 8818;
constexpr int32_t kTipStartUpdate = 8819;
constexpr int32_t kTipStepList = 8820;
constexpr int32_t kTipPassiveMode = 8821;
constexpr int32_t kTextIgnitionCheck = 8822;  // "Achtung ... Mit dem Update fortfahren?"
constexpr int32_t kTextUpdateReady = 9005;    // "Zündung einschalten. ..."
constexpr int32_t kTextEnterSerialOfDefective = 9007;
constexpr int32_t kTextEnterTypeOfDefective = 9008;
// Saving the module's settings before the update.
constexpr int32_t kTextBackupSettingsFirst = 9050;
constexpr int32_t kTextSettingsSavedIn = 9051;

}  // namespace texts
