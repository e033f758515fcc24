#include "texts/text_table.h"

#include <algorithm>

namespace texts {

namespace {

// Sorted by ID; each subsystem keeps its own block.
constexpr TextEntry kTable[] = {
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
    {7101, "Zylinder 1 über den halben Flügel im Verteiler erkennen"},  // Ignition
    {8000, "Abbruch"},
    {8003, "allgemeiner Fehler"},                                     // Ignition
    {8005, "Datei in altem Format\nzum Teil Standardwerte gesetzt"},  // Ignition
    {8006, "Datei ist leer"},                                         // Loggers
    {8007, "Fehler beim Datei lesen"},                                // Loggers
    {8008, "Fehler beim Datei schreiben"},                            // Loggers
    {8011, "Drehzahl bereits vorhanden!"},                            // Ignition
    {8015, "Fehler in Datei"},
    {8016, "Kann Datei nicht öffnen"},
    {8017, "Original Logdatei löschen"},  // Loggers
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
    {8036, "Kann COM-Schnittstelle nicht öffnen !\nRichtige Com-Schnittstelle ausgewählt ?"},
    {8037, "Keinen freien Com-Port gefunden"},  // Shell
    {8038, "PC-Suche Ok"},
    {8040, "Sendefehler"},
    {8041, "zu wenige Bytes empfangen"},
    {8042, "Kann Datei nicht öffnen"},     // Loggers
    {8043, "Bitte Fahrzeugdatei wählen"},  // Loggers
    {8045, "Parameter außerhalb des Bereichs"},
    {8046, "Tunvexa zu alt\nBitte neue Version besorgen"},  // Ignition
    {8047, "PIN ist falsch"},                               // Ignition
    {8048, "Schreibfehler"},                                // Displays
    {8049, "Schreiben ist gesperrt\nLesen nur teilweise"},  // Ignition
    {8050, "Schreiben Ok"},                                 // Ignition
    {8051, "Lese-Fehler"},                                  // Displays
    {8052, "Lesen Ok"},                                     // Ignition
    {8053, "Falsche Seriennummer"},
    {8054, "Uhrzeit gestellt"},                         // Loggers
    {8055, "Version zu alt!\nBitte Firmware updaten"},  // Loggers
    {8056,
     "Firmware: Version ist alt\nnicht alle Funktionen werden unterstützt\ntrotzdem "
     "schreiben?"},                                                                 // Ignition
    {8057, "Firmware: Version ist alt\nnicht alle Funktionen werden unterstützt"},  // Ignition
    {8058, "PIN eingeben"},                                                         // Ignition
    {8059, "falsche Datei selektiert"},                                             // Shell
    {8063, " 0 = Standard"},                                                        // Ignition
    {8064, " 1 = BMW M1 Procar"},                                                   // Ignition
    {8065, " 2 = Spitzengeber ab HKZ Hw 2.6"},                                      // Ignition
    {8073, "Kennlinie, Unterdruck und Offset prüfen"},                              // Ignition
    {8075,
     "Loggen und externe Anzeige können nicht gleichzeitig aktiviert werden. Bitte Eines "
     "abwählen."},                                                              // Ignition
    {8076, "Zähnezahl und Zylinderzahl passen nicht zusammen."},                // Ignition
    {8078, "ungültige Baudrate"},                                               // Firmware
    {8079, "Falsche Bootloader Version in Gerät, V "},                          // Bootloader link
    {8080, "Falsche PIC-Kennung, "},                                            // Bootloader link
    {8082, "Programmierung starten ?"},                                         // Firmware update
    {8083, "Software älter als Geräte-Software !!!!!!"},                        // Firmware update
    {8084, "Trotzdem Programmieren ?"},                                         // Firmware update
    {8085, "Laufende Nummer nicht programmierbar"},                             // Bootloader link
    {8086, "Fehler bei Programmierung"},                                        // Bootloader link
    {8087, "Programmierung erfolgreich beendet.\nBitte Zündung ausschalten."},  // Firmware update
    {8088, "Blockgrößen falsch"},                                               // Bootloader link
    {8089, "Fehler beim Löschen"},                                              // Bootloader link
    {8090, "falsche Datei-Version"},                                            // Firmware
    {8091, "Fehler im Datei-Header"},                                           // Firmware
    {8092, "Checksumme in der Datei fehlerhaft."},                              // Firmware
    {8093,
     "Programmierung fehlgeschlagen!\nBitte Zündung aus- und wieder einschalten für 2. "
     "Versuch."},                                               // Bootloader link
    {8095, "Ok zum Beenden des Displaytest"},                   // Displays
    {8096, "Programmierung OK wenn Leds im Wechsel blinken."},  // Displays
    {8097, "Aktuelle Sensorwerte löschen ?"},                   // Displays
    {8315, "Daten werden konvertiert"},                         // Loggers
    {8319, "Log-Datei wird erzeugt"},                           // Loggers
    {8320, "Log-Datei wird gelesenen"},                         // Loggers
    {8324, "Speicherabbild wird erzeugt"},                      // Ignition
    {8326, "Modul wird gelesen"},                               // Ignition
    {8327, "Modul wird geschrieben"},                           // Ignition
    {8330, "Firmware-Update läuft"},                            // Firmware update
    {8400,
     "Soll der Konfigurations-Assistent gestartet werden?\nAlle bisherigen Einstellungen "
     "werden dabei überschrieben."},                               // Assistant
    {8430, "Bitte Zylinderzahl eingeben."},                        // Assistant
    {8431, "4-Takt-Motor?"},                                       // Assistant
    {8432, "Bitte Einsatzdrehzahl für Drehzahlimiter eingeben."},  // Assistant
    {8433,
     "Soll der Limiter als harter Limiter funktionieren, d.h. die Zündung unterbrechen?"},  // Assistant
    {8435, "Bitte Ladezeit der Zündspule eingeben. Rote ZEB-Zündspule 2,5 ms."},        // Assistant
    {8436, "Wird ein Triggerrad an der Kurbelwelle verwendet?"},                        // Assistant
    {8438, "Ist der Verteiler ein Spitzengeber? (Erkennbar am sternförmigen Rotor.)"},  // Assistant
    {8439,
     "Soll der Kompatibilitäts-Modus aktiviert werden?\n(Signalpegel vergleichbar zu "
     "Bosch-HKZ)"},  // Assistant
    {8440,
     "Bitte Zündzeitpunkt bei niedriger und hoher Drehzahl prüfen.\nBei starker Abweichung "
     "probehalber Invertierung umschalten."},  // Assistant
    {8441,
     "Betrieb im Direktmodus,\nd.h. Verteiler übernimmt die Verstellung,\nZündmodul nur als "
     "Endstufe?"},                                                                      // Assistant
    {8442, "Wurde der Verteiler von ZEB umgebaut oder laut Anleitung umgebaut?"},       // Assistant
    {8443, "Wurde ein sogenanntes Schlitzrad eingebaut?"},                              // Assistant
    {8446, "Diese Zylinderzahl ist mit\nZEB-Standard-Schlitzrädern nicht möglich."},    // Assistant
    {8447, "Schlitzrad mit 64/2 Zähnen muss verwendet werden."},                        // Assistant
    {8448, "Bitte die Grundeinstellung nur über Verdrehen des Verteilers vornehmen."},  // Assistant
    {8449, "Bitte den Versatz zwischen Auslösung und OT eingeben."},                    // Assistant
    {8450,
     "Bei Hallgeber-Verteilern bitte Polarität prüfen.\nAn der Auslöseposition muss die Led "
     "Unterbrecher ausgehen.\nSonst Invertierung aktivieren."},  // Assistant
    {8463, "Sind der/die Geber induktive Geber?"},               // Assistant
    {8464,
     "Wieviele Zähne hätte das vollständige Triggerrad\n(meist 36 oder 60, möglich 36 - "
     "200)"},                                                             // Assistant
    {8467, "Wieviele Zähne wurden vom Triggerrad entfernt\n(1 oder 2)"},  // Assistant
    {8468,
     "Bitte später manuelle oder Autojustage für grobe Grundeinstellung verwenden"},  // Assistant
    {8471, "Wird mit ruhender Zündverteilung gearbeitet?"},                           // Assistant
    {8473, "Gibt es ein separates Zylinder-1-Signal"},                                // Assistant
    {8474, "Bitte später Kanäle in Kanal-Tabelle einstellen"},                        // Assistant
    {8480, "Werden externe Einheiten verwendet? (Logger, Anzeigen, ...)"},            // Assistant
    {8481, "Wird eine Drehzahlanzeige verwendet?"},                                   // Assistant
    {8482, "Wird ein Logger verwendet?"},                                             // Assistant
    {8483, "Wird ein Justage-Poti verwendet?"},                                       // Assistant
    {8484, "Gewünschter Bereich 0 - 9 Grad"},                                         // Assistant
    {8491,
     "Sollen die bestehenden Zündkurve durch eine Standardkurve ersetzt werden."},  // Assistant
    {8492, "Die Zündkurven müssen noch abgestimmt werden."},                        // Assistant
    {8495,
     "Assistent erfolgreich beendet.\nDie wichtigsten Parameter wurden eingestellt.\nModul "
     "muss noch geschrieben werden."},                                         // Assistant
    {8498, "Fehler im Assistenten!"},                                          // Assistant
    {8614, "Neuen Eintrag einfügen"},                                          // Ignition
    {8619, "Drehzahl für den Schaltblitz\nWertebereich: 1500 - 12500 1/min"},  // Ignition
    {8620, "Markierten Eintrag löschen"},                                      // Ignition
    {8623, "Zünden direkt mit dem Unterbrechersignal, ohne Kennlinie"},        // Ignition
    {8625,
     "Druckwert\nWertbereich absolut: 0 - 2500 mBar\nWertbereich relativ: -990 - 1500 "
     "mBar"},                                                                // Ignition
    {8626, "Verstellwinkel\nWertebereich: -20 - +20 Grad"},                  // Ignition
    {8627, "Druckkurven und Drucksensor einstellen"},                        // Ignition
    {8628, "Markierten Eintrag bearbeiten"},                                 // Ignition
    {8630, "Erweiterte Einstellungen"},                                      // Ignition
    {8631, "Drehzahl an eine externe Anzeige am Bus senden"},                // Ignition
    {8632, "Verteilergeber mit festem Versatz von 50 Grad"},                 // Ignition
    {8637, "Art des Gebers"},                                                // Ignition
    {8638, "Halbflügel-Signal für Zylinder 1 am Drehzahlausgang erzeugen"},  // Ignition
    {8639, "Kurze Nocken erkennen"},                                         // Ignition
    {8640, "Kompatibilitätsmodus für induktive Geber"},                      // Ignition
    {8641, "Induktiver Geber"},                                              // Ignition
    {8655, "Beide Zündkurven grafisch anzeigen"},                            // Ignition
    {8656, "Kurbelwellengeber mit Geberrad"},                                // Ignition
    {8657, "Anzahl der fehlenden Zähne\nWertebereich: 0 - 2"},               // Ignition
    {8658, "Zähne des vollständigen Geberrads\nWertebereich: 24 - 200"},     // Ignition
    {8659, "Ladezeit der Zündspule\nWertebereich: 0,7 - 5,0 msec"},          // Ignition
    {8660, "Leertakt-Zündung: ein Funke pro Umdrehung"},                     // Ignition
    {8661, "Zündung bei Erreichen des Limiters abschalten"},                 // Ignition
    {8662, "Drehzahlgrenze für Limiter.\n0 = deaktiviert"},                  // Ignition
    {8663, "Kennlinie und Einstellungen in Datei speichern"},                // Ignition
    {8664, "Zünddaten für einen Logger am Bus ausgeben"},                    // Ignition
    {8665, "Art der Logdaten"},                                              // Ignition
    {8666, "Mehrkanalbetrieb mit mehreren Zündspulen"},                      // Ignition
    {8667, "Zweiter Funke bei niedriger Drehzahl"},                          // Ignition
    {8669, "Versatz zwischen Gebersignal und OT in Grad"},                   // Ignition
    {8670, "Motor, Geber und Triggermodus einstellen"},                      // Ignition
    {8671, "Geber im oberen Totpunkt"},                                      // Ignition
    {8672,
     "Kurbelwellengeber mit zusätzlichem Geber für Zylinder 1\nhöchstens 100 "
     "Zähne"},                                                           // Ignition
    {8674, "Abstimmpoti aus"},                                           // Ignition
    {8675, "Abstimmpoti: -4 bis +5 Grad"},                               // Ignition
    {8676, "Abstimmpoti: 0 bis +9 Grad"},                                // Ignition
    {8679, "Modul schreiben"},                                           // Ignition
    {8680, "Modul auslesen"},                                            // Ignition
    {8681, "Drehzahl\nWertebereich: 150 - 12500 1/min"},                 // Ignition
    {8682, "Kennlinie und Einstellungen aus Datei laden"},               // Ignition
    {8683, "Schnellstart"},                                              // Ignition
    {8686, "Gebersignal invertieren"},                                   // Ignition
    {8688, "Gebersignale vor dem ersten Funken\nWertebereich: 3 - 20"},  // Ignition
    {8689, "Takte\n2 oder 4"},                                           // Ignition
    {8692, "Druckkurve 1"},                                              // Ignition
    {8693, "Druckkurve 2"},                                              // Ignition
    {8694, "Drücke relativ zum Umgebungsdruck"},                         // Ignition
    {8695, "Offset des Drucksensors\nWertebereich: 5 - 130"},            // Ignition
    {8696, "Faktor des Drucksensors\nWertebereich: 70 - 510"},           // Ignition
    {8697, "Geber mit frei einstellbarem Versatz"},                      // Ignition
    {8698,
     "Verstellwinkel\nWertebereich: -40 - + 40 Grad\npositive Werte sind "
     "Frühverstellung"},                                                              // Ignition
    {8699, "Zylinderzahl\nWertebereich: 1 - 12"},                                     // Ignition
    {8700, "Abschaltdauer des harten Limiters in Zündungen\nWertebereich: 2 - 200"},  // Ignition
    {8701, "Direkt-Modus bei niedriger Drehzahl"},                                    // Ignition
    {8702, "Werkseinstellungen anzeigen"},                                            // Ignition
    {8800, "Modul schreiben"},                                                        // Displays
    {8801, "Einstellungen aus Datei laden"},                                          // Displays
    {8802, "Einstellungen in Datei speichern"},                                       // Displays
    {8803,
     "Aufgedruckte Seriennummer des Moduls. Zum Programmieren unbedingt "
     "erforderlich."},                                                // Displays
    {8804, "Hiermit können die Leds der Anzeige überprüft werden."},  // Displays
    {8805,
     "Bei einer Anzeige immer 1.\nBei mehreren Anzeigen in einem Gehäuse sind diese von links "
     "nach rechts oder von oben nach unten an durchnummeriert.\nWertebereich: 1 - 9"},  // Displays
    {8806,
     "Adresse der Anzeige. Die Adresse der ersten Lambdaanzeige ist üblicherweise "
     "240.\nWertebereich: 1 - 250"},                                  // Displays
    {8807, "Grenzwert für unterste Led.\nWertebereich: 1 - 30000"},   // Displays
    {8808, "Schrittweite zwischen 2 Leds.\nWertebereich: 1 - 3000"},  // Displays
    {8809, "Das Modul dient zur Anzeige von allgemeinen Werten."},    // Displays
    {8810,
     "Das Modul zeigt Werte eines Lambda-Adapters an.\nDie Led-Aufteilung ist hierbei "
     "fest."},                                    // Displays
    {8811, "Das Modul zeigt Drehzahlwerte an."},  // Displays
    {8812,
     "Das Modul dient zur Anzeige von Lambdawerten, die von Lambda-Adaptern vor V 1.2.0 "
     "gesendet werden."},  // Displays
    {8813,
     "Die Anzeige geht nie ganz aus, d.h. bei zu niedrigen Werten bleibt die unterste Led "
     "ein."},  // Displays
    {8814,
     "Zwischenstufen werden über nebeneinander liegende Leds angezeigt.\nDadurch können fast "
     "doppelt so viele werte angezigt werden."},                               // Displays
    {8815, "Messwerte werden als Balken angezeigt (sonst als Leuchtpunkt)."},  // Displays
    {8816, "Der Spitzenwert wird für einige Zeit weiter angezeigt."},          // Displays
    {8817, "Helligkeit der Anzeige.\nWertebereich: 1-255"},                    // Displays
    {8818, "Datei mit Firmware laden"},                                        // Firmware update
    {8819, "Firmware Update starten"},                                         // Firmware update
    {8820, "Hier werden Meldungen des Update-Vorgangs angezeigt."},            // Firmware update
    {8821,
     "Firmware-Updater ist aktiv und belegt die Kommunikation.\nWird normalerweise bei Bedarf "
     "automatisch aktiviert."},  // Firmware update
    {8822,
     "Achtung\n\nBei Fahrzeugen mit der Kombination\n- Triggerrad und Kurbelwellengeber "
     "-\nerfordert die Installation dieser Firmware unbedingt eine\nanschließende Kontrolle "
     "des "
     "Zündzeitpunktes bei Höchstdrehzahl!\n\n Alle anderen Systeme sind von dieser Maßnahme "
     "nicht betroffen\n\n Mit dem Update fortfahren?"},                         // Firmware update
    {8823, "Zylinder-1-Signal nicht erzeugen"},                                 // Ignition
    {9003, "Mehr als eine Gerätenfamilie in Datei.\nBitte ZEB kontaktieren."},  // Firmware
    {9004, "Programmierdatei hat falsche Länge"},                               // Firmware
    {9005,
     "Zündung einschalten. Modul mit PC verbinden. \nWährend der Programmierung "
     "Verbindung\nnicht trennen und die Zündung nicht ausschalten. \nJa wenn bereit, \nNein "
     "zum Abbruch."},                                                             // Firmware update
    {9006, "Keine Firmware für dieses Modul in der Programmierdatei gefunden."},  // Firmware
    {9007,
     "Modul mit defekter Firmware erkannt.\nBitte Seriennummer eingeben."},    // Firmware update
    {9008, "Seriennummer nicht gefunden .\nBitte Typnummer eingeben."},        // Firmware update
    {9015, "Zähnezahl passt nicht zu Zylinderzahl"},                           // Assistant
    {9016, "Assistent beenden und Fenster schließen."},                        // Assistant
    {9017, "Drehzahlausgang invertieren"},                                     // Ignition
    {9050, "Einstellungen des Moduls vor dem Update in eine Datei sichern?"},  // Firmware update
    {9051, "Einstellungen gesichert: "},                                       // Firmware update
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
