#pragma once

class QCoreApplication;

namespace shell {

// Loads Qt's own German texts (file dialogs, "Ja"/"Nein", "Abbrechen") and
// makes German the default locale, so that the system's dialogs speak the
// program's language. False when the translation files are not installed;
// the program then runs with Qt's English texts.
bool installGermanQtTexts(QCoreApplication& app);

}  // namespace shell
