#pragma once

#include <cstdint>

// Texts of the firmware file.
namespace texts {

constexpr int32_t kTextInvalidBaudRate = 8078;     // "ungültige Baudrate"
constexpr int32_t kTextWrongFileVersion = 8090;    // "falsche Datei-Version"
constexpr int32_t kTextFileHeaderError = 8091;     // "Fehler im Datei-Header"
constexpr int32_t kTextFileChecksumWrong = 8092;   // "Checksumme in der Datei fehlerhaft."
constexpr int32_t kTextSeveralFamilies = 9003;     // "Mehr als eine Gerätenfamilie in Datei.\n..."
constexpr int32_t kTextFirmwareFileLength = 9004;  // "Programmierdatei hat falsche Länge"
constexpr int32_t kTextNoFirmwareForModule = 9006;  // "Keine Firmware für dieses Modul ..."

}  // namespace texts
