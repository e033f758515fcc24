#pragma once

#include <cstdint>

// Every user-visible text has a number. Operations return 0 or one of these;
// the caller shows the text (see text_table.h).
namespace texts {

// Shell
constexpr int32_t kTextWindowTitle = 103;  // "Tunvexa"
constexpr int32_t kTextWindowClass = 105;  // "Tunvexa"
// Page captions; a page's id is the text ID of its caption.
constexpr int32_t kTextPageIgnition = 201;  // "Zündung"
constexpr int32_t kTextPageBarDisplay = 202;
constexpr int32_t kTextPageGearDisplay = 203;
constexpr int32_t kTextPageTankDisplay = 204;
constexpr int32_t kTextPageShiftDisplay = 205;
constexpr int32_t kTextPageLambdaDisplay = 206;
constexpr int32_t kTextPageZor = 207;
constexpr int32_t kTextPageRpmLogger = 208;
constexpr int32_t kTextPageSerialLogger = 209;
constexpr int32_t kTextPageOilDisplay = 210;
constexpr int32_t kTextPageStopwatch = 211;
constexpr int32_t kTextPagePotiDisplay = 212;
constexpr int32_t kTextPageRallyTimer = 213;
constexpr int32_t kTextPageCarLogger = 214;
constexpr int32_t kTextPageInstrument = 215;
constexpr int32_t kTextPageMotorController = 216;
constexpr int32_t kTextPageWarmUpController = 217;
constexpr int32_t kTextPageExtras = 218;
constexpr int32_t kTextPageInfo = 219;
constexpr int32_t kTextCancelled = 8000;          // "Abbruch": the user cancelled, nothing is shown
constexpr int32_t kTextFileError = 8015;          // "Fehler in Datei"
constexpr int32_t kTextCannotOpenFile = 8016;     // "Kann Datei nicht öffnen"
constexpr int32_t kTextNoFreeComPort = 8037;      // "Keinen freien Com-Port gefunden"
constexpr int32_t kTextWrongFileSelected = 8059;  // "falsche Datei selektiert"

// Module link
constexpr int32_t kTextUnknownCommand = 8026;  // "Unbekannter Befehl"
constexpr int32_t kTextComBusy = 8027;         // "Com ist belegt"
constexpr int32_t kTextChecksumWrong = 8028;
constexpr int32_t kTextEepromWriteError = 8029;
constexpr int32_t kTextReceiveError = 8030;
constexpr int32_t kTextComError = 8031;
constexpr int32_t kTextEngineRunning = 8033;
constexpr int32_t kTextAdapterNotFound = 8034;
constexpr int32_t kTextModuleNotFound = 8035;
constexpr int32_t kTextCannotOpenPort = 8036;
constexpr int32_t kTextPcSearchOk = 8038;
constexpr int32_t kTextSendError = 8040;
constexpr int32_t kTextTooFewBytes = 8041;
constexpr int32_t kTextParameterOutOfRange = 8045;
constexpr int32_t kTextWrongSerialNumber = 8053;

}  // namespace texts
