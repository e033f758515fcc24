#pragma once

#include <optional>
#include <string>

#include "platform/clock.h"
#include "shell/file_dialog.h"
#include "shell/settings_file.h"

// The loggers' file dialogs: the log file on the card and the converted
// output, each starting in the folder its settings key holds and writing
// that key back after every dialog that was not cancelled.
namespace loggers {

struct LogDialogs {
  LogDialogs(std::string logKey, std::string outputKey)
      : logKey(std::move(logKey)), outputKey(std::move(outputKey)) {}
  std::string logKey;     // PfadLogDatei, PfadLambdaLogDatei
  std::string outputKey;  // PfadLogOutDatei, PfadLambdaLogOutDatei
  shell::FileDialog log;
  shell::FileDialog output;
};

// Folders from the keys (default: the program's default folder), filters
// "LogDatei.bin" (*.bin) and "Ausgabedatei (*.txt)" (*.txt).
void initialiseLogDialogs(LogDialogs& d, shell::SettingsFile& settings);

// The log file: an open (or, to create one, save) dialog starting with
// "LogDatei.bin" in the log folder. nullopt when cancelled.
std::optional<std::string> chooseLogFile(LogDialogs& d, shell::SettingsFile& settings,
                                         bool save = false);
// The output: a save dialog proposing `name` in the output folder.
std::optional<std::string> chooseOutputFile(LogDialogs& d, shell::SettingsFile& settings,
                                            const std::string& name);

// The car logger's vehicle file (NameCarLogger): filter
// "RERozideri-files (*.zeb)" with "*.zeb;*.lme".
void initialiseVehicleDialog(shell::FileDialog& d, shell::SettingsFile& settings);
std::optional<std::string> chooseVehicleFile(shell::FileDialog& d, shell::SettingsFile& settings);
// The vehicle file the page uses (the key's value).
std::string vehicleFilePath(shell::SettingsFile& settings);

}  // namespace loggers
