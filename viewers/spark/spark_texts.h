#pragma once

namespace spark {

inline constexpr const char* kProductName = "Funkora";
inline constexpr const char* kTextNoPort = "Kein COM-Port ausgewählt!\r\nMenü Extras/Einstellungen";
inline constexpr const char* kTextNoData = "Keine Daten vom Modul!";
inline constexpr const char* kTextDisturbed = "Datenübertragung gestört!";
inline constexpr const char* kStatusNotConnected = "Nicht verbunden.";
inline constexpr const char* kStatusPause = "Pause";
inline constexpr const char* kStatusRunning = "Datenübertragung läuft";
inline constexpr const char* kStatusNoReception = "Kein Datenempfang!";
inline constexpr const char* kTextHelp =
    "Commandline-Parameter:\r\n-h -> dieses Fenster\r\n-com x -> COM-Port einstellen";

// Stored settings and command-line parameters.
inline constexpr const char* kKeyPort = "Einstell/COM";
inline constexpr const char* kKeyCylinders = "Einstell/Zylinder";
inline constexpr const char* kParamHelp = "h";
inline constexpr const char* kParamPort = "com";
inline constexpr const char* kParamCylinders = "zyl";

}  // namespace spark
