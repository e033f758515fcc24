#pragma once

#include <string>
#include <string_view>

namespace trigger {

// The text with "%1" replaced by `value`. Built by appending: a replace or
// "literal" + std::string makes GCC 12 at -O3 report a false -Wrestrict.
inline std::string fillIn(std::string_view text, const std::string& value) {
  const size_t at = text.find("%1");
  std::string out(text.substr(0, at));
  if (at == std::string_view::npos) return out;
  out += value;
  out += text.substr(at + 2);
  return out;
}

// The program's own name: the title of its boxes and the name its data files
// carry, so that files move between this program and the Windows one.
inline constexpr const char* kProgramName = "Taktora";

// Connection.
inline constexpr const char* kTextConnectedTo = "Verbunden mit ";
inline constexpr const char* kTextNoModuleData =
    "Moduldaten konnten nicht ermittelt werden!\r\n\r\nBitte Z\xC3\xBCndung ausschalten und nach "
    "kurzer Zeit wieder einschalten.\r\nDann erneut auf \"Verbinden\" klicken.";
inline constexpr const char* kTextNoPort =
    "Kein COM-Port ausgew\xC3\xA4hlt!\r\nMen\xC3\xBC Extras/Einstellungen";
inline constexpr const char* kSerialPrefix = "Ser.: ";

// Status panel 1.
inline constexpr const char* kStatusSwitchOn =
    "Z\xC3\xBCndung einschalten und auf \"Verbinden\" klicken";
inline constexpr const char* kStatusConnected = "Verbunden";
inline constexpr const char* kStatusStreaming =
    "Oszimode - Daten\xC3\xBC"
    "bertragung l\xC3\xA4uft";
inline constexpr const char* kStatusNoData = "Keine Daten vom Modul";

// Analysis.
inline constexpr const char* kTitleAnalysis = "SignalAnalysieren";
inline constexpr const char* kTextNoData = "Keine Daten!";
inline constexpr const char* kTextTooFewData = "Zu wenig richtige Daten vorhanden.";

// Data files.
inline constexpr const char* kTextFileAlreadyOpen =
    "Es ist bereits eine Datei ge\xC3\xB6"
    "ffnet.";
inline constexpr const char* kTextNotDataLog =
    "Die Datei \"%1\" ist keine g\xC3\xBCltige DataLog-Datei!";
inline constexpr const char* kTextDataLogOpenFailed =
    "Datalogfile\r\n\"%1\"\r\nkonnte nicht ge\xC3\xB6"
    "ffnet werden!";
inline constexpr const char* kTextSaved = "gespeichert";
inline constexpr const char* kTextFileNotFound = "Datei \"%1\" nicht gefunden!";
inline constexpr const char* kTextNotOurLog = "ist keine ";
inline constexpr const char* kTextNotOurLogEnd = "-Logdatei!";
inline constexpr const char* kTextRawMissing = "Datei existiert nicht!";
inline constexpr const char* kTitleRawImport = "TextfileLaden";
inline constexpr const char* kDataDescription =
    "1=DataCount\r\n2=DataWrIdx\r\n101=Kanal A\r\n102=KanalB";

// Command line.
inline constexpr const char* kTextHelp =
    "Commandline-Parameter:\r\n-h -> dieses Fenster\r\n-zebmode -> weitere Funktionen "
    "freigeschaltet\r\n-com x -> COM-Port einstellen\r\n-pfad x -> Speicherort f\xC3\xBCr "
    "Logdateien";
inline constexpr const char* kTextAskCreateFolder =
    "Ordner f\xC3\xBCr Log-Dateien \"%1\" existiert nicht.\r\nErstellen?";
inline constexpr const char* kTextFolderNotCreated = "Ordner \"%1\" konnte nicht erstellt werden.";
inline constexpr const char* kZebModeCaption = " - ZEB-Mode";

}  // namespace trigger
