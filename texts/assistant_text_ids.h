#pragma once

#include <cstdint>

// Texts of the ignition's configuration assistant.
namespace texts {

constexpr int32_t kTextAssistantStart = 8400;          // "Soll der Konfigurations-Assistent ..."
constexpr int32_t kTextAssistantFailed = 8498;         // "Fehler im Assistenten!"
constexpr int32_t kTextTeethDoNotFitCylinders = 9015;  // "Zähnezahl passt nicht zu Zylinderzahl"
constexpr int32_t kTipAssistantDone = 9016;  // "Assistent beenden und Fenster schließen."

}  // namespace texts
