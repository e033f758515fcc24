#include "texts/text_table.h"

#include <algorithm>

namespace texts {

namespace {

// Sorted by ID; each subsystem keeps its own block.
constexpr TextEntry
    kTable[] =
        {
            // Shell
            {103, "Tunvexa"},
            {105, "Tunvexa"},
            {201, "Zündung"},
            {202, "Balken-Anzeige"},
            {203, "Gang-Anzeige"},
            {204, "Tank-Anzeige"},
            {205, "Schalt-Anzeige"},
            {206, "Lambda-Anzeige"},
            {207, "ZOR"},
            {208, "Rpm-Logger"},
            {209, "Seriell-Logger"},
            {210, "Öl-Anzeige"},
            {211, "Stopuhr"},
            {212, "Poti-Anzeige"},
            {213, "Rallye-Timer"},
            {214, "Car-Logger"},
            {215, "Instrument"},
            {216, "MotorSteller"},
            {217, "Warmlaufregler"},
            {218, "Extras"},
            {219, "Info"},
            {8000, "Abbruch"},
            {8003, "allgemeiner Fehler"},                                     // Ignition
            {8005, "Datei in altem Format\nzum Teil Standardwerte gesetzt"},  // Ignition
            {8011, "Drehzahl bereits vorhanden!"},                            // Ignition
            {8015, "Fehler in Datei"},
            {8016, "Kann Datei nicht öffnen"},
            // Module link
            {8022, "Bitte erst Gerät auslesen"},        // Ignition
            {8025, "Kennlinie hat zu viele Einträge"},  // Ignition
            {8026, "Unbekannter Befehl"},
            {8027, "Com ist belegt"},
            {8028, "Checksumme falsch"},
            {8029, "Schreibfehler EEPROM"},
            {8030, "Empfangsfehler"},
            {8031, "COM Fehler"},
            {8033, "Motor ist ein"},
            {8034, "COM-Adapter nicht gefunden !\nIst Zündung eingeschaltet ?"},
            {8035, "Modul nicht gefunden ! \nRichtige Steckverbindung gewählt ?"},
            {8036,
             "Kann COM-Schnittstelle nicht öffnen !\nRichtige Com-Schnittstelle ausgewählt ?"},
            {8037, "Keinen freien Com-Port gefunden"},  // Shell
            {8038, "PC-Suche Ok"},
            {8040, "Sendefehler"},
            {8041, "zu wenige Bytes empfangen"},
            {8045, "Parameter außerhalb des Bereichs"},
            {8046, "Tunvexa zu alt\nBitte neue Version besorgen"},  // Ignition
            {8049, "Schreiben ist gesperrt\nLesen nur teilweise"},  // Ignition
            {8050, "Schreiben Ok"},                                 // Ignition
            {8052, "Lesen Ok"},                                     // Ignition
            {8053, "Falsche Seriennummer"},
            {8056,
             "Firmware: Version ist alt\nnicht alle Funktionen werden unterstützt\ntrotzdem "
             "schreiben?"},  // Ignition
            {8057,
             "Firmware: Version ist alt\nnicht alle Funktionen werden unterstützt"},  // Ignition
            {8059, "falsche Datei selektiert"},                                       // Shell
            {8073, "Kennlinie, Unterdruck und Offset prüfen"},                        // Ignition
            {8324, "Speicherabbild wird erzeugt"},                                    // Ignition
            {8326, "Modul wird gelesen"},                                             // Ignition
            {8327, "Modul wird geschrieben"},                                         // Ignition
            {8625,
             "Druckwert\nWertbereich absolut: 0 - 2500 mBar\nWertbereich relativ: -990 - 1500 "
             "mBar"},                                             // Ignition
            {8681, "Drehzahl\nWertebereich: 150 - 12500 1/min"},  // Ignition
            {
                8698,
                "Verstellwinkel\nWertebereich: -40 - + 40 Grad\npositive Werte sind "
                "Frühverstellung"},  // Ignition
};

}  // namespace

std::string_view text(int32_t id) {
  const TextEntry* end = textTableEnd();
  const TextEntry* it = std::lower_bound(
      textTableBegin(), end, id, [](const TextEntry& e, int32_t key) { return e.id < key; });
  if (it == end || it->id != id) return {};
  return it->text;
}

const TextEntry* textTableBegin() {
  return std::begin(kTable);
}
const TextEntry* textTableEnd() {
  return std::end(kTable);
}

}  // namespace texts
