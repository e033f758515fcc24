#pragma once

#include <cstdint>

// Texts of the data loggers' pages and conversions.
namespace texts {

constexpr int32_t kTextFileEmpty = 8006;          // "Datei ist leer"
constexpr int32_t kTextFileReadError = 8007;      // "Fehler beim Datei lesen"
constexpr int32_t kTextFileWriteError = 8008;     // "Fehler beim Datei schreiben"
constexpr int32_t kTextDeleteOriginalLog = 8017;  // "Original Logdatei löschen"
constexpr int32_t kTextCannotOpenLogFile = 8042;  // "Kann Datei nicht öffnen"
constexpr int32_t kTextChooseVehicleFile = 8043;  // "Bitte Fahrzeugdatei wählen"
constexpr int32_t kTextWriteFailed = 8048;        // "Schreibfehler"
constexpr int32_t kTextLoggerWriteOk = 8050;      // "Schreiben Ok"
constexpr int32_t kTextReadFailed = 8051;         // "Lese-Fehler"
constexpr int32_t kTextLoggerReadOk = 8052;       // "Lesen Ok"
constexpr int32_t kTextClockSet = 8054;           // "Uhrzeit gestellt"
constexpr int32_t kTextFirmwareTooOld = 8055;     // "Version zu alt!\nBitte Firmware updaten"
constexpr int32_t kTextConvertingData = 8315;     // "Daten werden konvertiert"
constexpr int32_t kTextCreatingLogFile = 8319;    // "Log-Datei wird erzeugt"
constexpr int32_t kTextReadingLogFile = 8320;     // "Log-Datei wird gelesenen"

}  // namespace texts
