#include "modules/loggers/log_dialogs.h"

#include "modules/loggers/log_files.h"

namespace loggers {

namespace {

constexpr const char* kVehicleKey = "NameCarLogger";

void storeKeys(LogDialogs& d, shell::SettingsFile& settings) {
  settings.set(d.logKey, d.log.folder());
  settings.set(d.outputKey, d.output.folder());
}

}  // namespace

void initialiseLogDialogs(LogDialogs& d, shell::SettingsFile& settings) {
  const std::string fallback = settings.defaultFolder();
  d.log.setFolder(settings.get(d.logKey, fallback));
  d.log.clearFilters();
  d.log.addFilter("LogDatei.bin", "*.bin");
  d.output.setFolder(settings.get(d.outputKey, fallback));
  d.output.clearFilters();
  d.output.addFilter("Ausgabedatei (*.txt)", "*.txt");
}

std::optional<std::string> chooseLogFile(LogDialogs& d, shell::SettingsFile& settings, bool save) {
  d.log.setFileName(kLogFileName);
  std::string path;
  if ((save ? d.log.saveDialog(path) : d.log.openDialog(path)) != 0) return std::nullopt;
  storeKeys(d, settings);
  return path;
}

std::optional<std::string> chooseOutputFile(LogDialogs& d, shell::SettingsFile& settings,
                                            const std::string& name) {
  d.output.setFileName(name);
  std::string path;
  if (d.output.saveDialog(path) != 0) return std::nullopt;
  storeKeys(d, settings);
  return path;
}

void initialiseVehicleDialog(shell::FileDialog& d, shell::SettingsFile& settings) {
  d.setFileName(vehicleFilePath(settings));
  d.clearFilters();
  d.addFilter("RERozideri-files (*.zeb)", "*.zeb;*.lme");
}

std::optional<std::string> chooseVehicleFile(shell::FileDialog& d, shell::SettingsFile& settings) {
  std::string path;
  if (d.openDialog(path) != 0) return std::nullopt;
  settings.set(kVehicleKey, d.fileName());
  return path;
}

std::string vehicleFilePath(shell::SettingsFile& settings) {
  return settings.get(kVehicleKey, settings.defaultFolder());
}

}  // namespace loggers
