#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace shell {
class FileDialog;
class SettingsFile;
}  // namespace shell

// The LED display modules: one page each, all built on the same pattern.
namespace displays {

enum class DisplayKind { Bar, Gear, Tank, Shift, Poti, Oil, Stopwatch, Rally };

constexpr int kDisplayKindCount = 8;

// What tells the display pages apart. Pages without a settings file have an
// empty extension and first tag.
struct DisplayInfo {
  DisplayKind kind;
  int32_t pageId;
  uint8_t busAddress;
  std::string_view commandName;  // tunvexa-cli
  std::string_view extension;    // "velBalken"
  std::string_view firstTag;     // "[BalkenAnzeige]"
  std::string_view folderKey;    // "PfadBalken"
  std::string_view filterDescription;
  std::string_view filterPattern;
};

const std::array<DisplayInfo, kDisplayKindCount>& displayInfos();
const DisplayInfo& displayInfo(DisplayKind kind);
std::optional<DisplayKind> kindForCommand(std::string_view name);
std::optional<DisplayKind> kindForPage(int32_t pageId);
bool hasSettingsFile(DisplayKind kind);

// At start-up: the dialog gets the page's filter and starts in the folder
// stored under its folder key.
void initialiseDisplayFileDialog(DisplayKind kind, shell::FileDialog& dialog,
                                 shell::SettingsFile& settings);

// The open or save dialog of "Laden" and "Speichern": nullopt when the user
// cancels (the folder key stays), else the chosen path, whose folder is kept
// under the page's folder key.
std::optional<std::string> chooseDisplayFile(DisplayKind kind, bool save, shell::FileDialog& dialog,
                                             shell::SettingsFile& settings);

}  // namespace displays
