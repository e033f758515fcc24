#include <string>

#include "modules/ignition/ignition_file.h"
#include "shell/file_dialog.h"
#include "shell/settings_file.h"

namespace ignition {

namespace {

constexpr std::string_view kFolderKey = "PfadZuendung";

void offerFilter(shell::FileDialog& dialog, const CapabilityRow& capability) {
  const FileFilter filter = ignitionFileFilter(capability);
  dialog.clearFilters();
  dialog.addFilter(filter.description, filter.pattern);
}

}  // namespace

FileFilter ignitionFileFilter(const CapabilityRow& capability) {
  if (capability.productLine2) {
    return {"Fulgo Kennliniendatei (*.Fulgo)", "*.Fulgo;*.Ignar;*.zeb"};
  }
  return {"Ignar Kennliniendatei (*.Ignar)", "*.Ignar;*.Fulgo;*.zeb"};
}

void initialiseIgnitionFileDialog(shell::FileDialog& dialog, shell::SettingsFile& settings) {
  dialog.setFolder(settings.get(kFolderKey, settings.defaultFolder()));
}

int32_t loadIgnitionFileWithDialog(IgnitionState& state, shell::FileDialog& dialog,
                                   shell::SettingsFile& settings) {
  offerFilter(dialog, state.record.capability);
  std::string path;
  if (dialog.openDialog(path) != 0) return 0;
  settings.set(kFolderKey, dialog.folder());
  return loadIgnitionFile(state, path);
}

int32_t saveIgnitionFileWithDialog(const IgnitionState& state, shell::FileDialog& dialog,
                                   shell::SettingsFile& settings) {
  offerFilter(dialog, state.record.capability);
  std::string path;
  if (dialog.saveDialog(path) != 0) return 0;
  settings.set(kFolderKey, dialog.folder());
  return saveIgnitionFile(state, path);
}

}  // namespace ignition
