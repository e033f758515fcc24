#include "modules/displays/display_kind.h"

#include <string>

#include "shell/file_dialog.h"
#include "shell/settings_file.h"

namespace displays {

namespace {

// Every filter offers the service files beside the module's own.
constexpr std::array<DisplayInfo, kDisplayKindCount> kInfos{{
    {DisplayKind::Bar, 202, 0x20, "bar", "velBalken", "[BalkenAnzeige]", "PfadBalken",
     "Balkenanzeige Kennliniendatei (*.velBalken)", "*.velBalken;*.zeb;*.lme"},
    {DisplayKind::Gear, 203, 0xA0, "gear", "velGang", "[Ganganzeige]", "PfadGang",
     "Ganganzeige Kennliniendatei (*.velGang)", "*.velGang;*.zeb;*.lme"},
    {DisplayKind::Tank, 204, 0x90, "tank", "velTank", "[Tankanzeige]", "PfadTank",
     "Tankanzeige Kennliniendatei (*.velTank)", "*.velTank;*.zeb;*.lme"},
    {DisplayKind::Shift, 205, 0xB0, "shift", "velSchalt", "[Schaltanzeige]", "PfadSchalt",
     "Schaltanzeige Kennliniendatei (*.velSchalt)", "*.velSchalt;*.zeb;*.lme"},
    {DisplayKind::Poti, 212, 0xD0, "poti", "velPoti", "[Potianzeige]", "PfadPoti",
     "Potianzeige Kennliniendatei (*.velPoti)", "*.velPoti;*.zeb;*.lme"},
    {DisplayKind::Oil, 210, 0x80, "oil", "", "", "", "", ""},
    {DisplayKind::Stopwatch, 211, 0x70, "stopwatch", "", "", "", "", ""},
    // Prepared for buttons that have no function yet; no file format exists.
    {DisplayKind::Rally, 213, 0xC0, "rally", "", "", "PfadRallyeTimer", "RERozideri-files (*.zeb)",
     "*.zeb;*.lme"},
}};

}  // namespace

const std::array<DisplayInfo, kDisplayKindCount>& displayInfos() {
  return kInfos;
}

const DisplayInfo& displayInfo(DisplayKind kind) {
  return kInfos[static_cast<size_t>(kind)];
}

std::optional<DisplayKind> kindForCommand(std::string_view name) {
  for (const DisplayInfo& i : kInfos) {
    if (i.commandName == name) return i.kind;
  }
  return std::nullopt;
}

std::optional<DisplayKind> kindForPage(int32_t pageId) {
  for (const DisplayInfo& i : kInfos) {
    if (i.pageId == pageId) return i.kind;
  }
  return std::nullopt;
}

bool hasSettingsFile(DisplayKind kind) {
  return !displayInfo(kind).firstTag.empty();
}

void initialiseDisplayFileDialog(DisplayKind kind, shell::FileDialog& dialog,
                                 shell::SettingsFile& settings) {
  const DisplayInfo& info = displayInfo(kind);
  if (info.folderKey.empty()) return;
  dialog.clearFilters();
  dialog.addFilter(info.filterDescription, info.filterPattern);
  dialog.setFolder(settings.get(info.folderKey, settings.defaultFolder()));
}

std::optional<std::string> chooseDisplayFile(DisplayKind kind, bool save, shell::FileDialog& dialog,
                                             shell::SettingsFile& settings) {
  const DisplayInfo& info = displayInfo(kind);
  std::string path;
  if ((save ? dialog.saveDialog(path) : dialog.openDialog(path)) != 0) return std::nullopt;
  settings.set(info.folderKey, dialog.folder());
  return path;
}

}  // namespace displays
