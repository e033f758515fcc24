#pragma once

#include <cstdint>

// Texts of the bootloader link.
namespace texts {

constexpr int32_t kTextWrongBootloaderVersion = 8079;  // "Falsche Bootloader Version in Gerät, V "
constexpr int32_t kTextWrongDeviceId = 8080;           // "Falsche PIC-Kennung, "
constexpr int32_t kTextRunningNumberFailed = 8085;     // "Laufende Nummer nicht programmierbar"
constexpr int32_t kTextProgrammingError = 8086;        // "Fehler bei Programmierung"
constexpr int32_t kTextBlockSizesWrong = 8088;         // "Blockgrößen falsch"
constexpr int32_t kTextEraseError = 8089;              // "Fehler beim Löschen"
constexpr int32_t kTextSwitchModuleOffAndOn = 8093;    // "Programmierung fehlgeschlagen!\n..."

}  // namespace texts
