#pragma once

#include <cstdint>

// Texts of the ignition module's operations.
namespace texts {

constexpr int32_t kTextGeneralError = 8003;          // "allgemeiner Fehler"
constexpr int32_t kTextOldFileFormat = 8005;         // "Datei in altem Format\n..."
constexpr int32_t kTextRpmPresent = 8011;            // "Drehzahl bereits vorhanden!"
constexpr int32_t kTextReadModuleFirst = 8022;       // "Bitte erst Gerät auslesen"
constexpr int32_t kTextCurveTooManyEntries = 8025;   // "Kennlinie hat zu viele Einträge"
constexpr int32_t kTextSoftwareTooOld = 8046;        // "Tunvexa zu alt\n..."
constexpr int32_t kTextWrongPin = 8047;              // "PIN ist falsch"
constexpr int32_t kTextWriteLocked = 8049;           // "Schreiben ist gesperrt\n..."
constexpr int32_t kTextWriteOk = 8050;               // "Schreiben Ok"
constexpr int32_t kTextReadOk = 8052;                // "Lesen Ok"
constexpr int32_t kTextOldFirmwareWrite = 8056;      // "... trotzdem schreiben?"
constexpr int32_t kTextOldFirmware = 8057;           // "Firmware: Version ist alt\n..."
constexpr int32_t kTextEnterPin = 8058;              // "PIN eingeben" (prompt of the PIN entry)
constexpr int32_t kTextCheckCurveAndOffset = 8073;   // "Kennlinie, Unterdruck und Offset prüfen"
constexpr int32_t kTextMakingMemoryImage = 8324;     // "Speicherabbild wird erzeugt"
constexpr int32_t kTextReadingModule = 8326;         // "Modul wird gelesen"
constexpr int32_t kTextWritingModule = 8327;         // "Modul wird geschrieben"

}  // namespace texts
