#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "modules/ignition/capabilities.h"
#include "modules/ignition/ignition_state.h"

namespace shell {
class FileDialog;
class SettingsFile;
}  // namespace shell

namespace ignition {

// The settings file of the ignition page ("*.Ignar", "*.Fulgo"): the whole
// record, both rpm curves and the limiter. Written in the current format;
// every older format back to files without "[FileVersion]" is still read.
constexpr int32_t kIgnitionFileVersion = 13;

// The file's bytes: cp1252, CR LF after every line, the memory image at the
// end while `dumpPresent` is set.
std::string ignitionFileText(const IgnitionState& state);

// 0, or 8016 when the file cannot be written (an existing file is then left
// as it was).
int32_t saveIgnitionFile(const IgnitionState& state, const std::string& path);

// 0 for a file of the current format; 8005 for an older or unknown format
// (what it does not hold keeps its default); 8016 cannot open; 8059 not an
// ignition file (nothing changed); 8015 a needed tag is missing or a value is
// not a number (the state is partly loaded and `recordValid` is clear).
int32_t loadIgnitionFile(IgnitionState& state, const std::string& path);

// The one filter the page's file dialog offers: each product line lists its
// own files first.
struct FileFilter {
  std::string_view description;
  std::string_view pattern;
};
FileFilter ignitionFileFilter(const CapabilityRow& capability);

// When the page is created: the dialog starts in the folder of `PfadZuendung`.
void initialiseIgnitionFileDialog(shell::FileDialog& dialog, shell::SettingsFile& settings);

// "Laden" and "Speichern": the dialog with the product line's filter, the
// chosen folder kept under `PfadZuendung`, then the load or the save.
// Cancelling the dialog returns 0 and changes nothing.
int32_t loadIgnitionFileWithDialog(IgnitionState& state, shell::FileDialog& dialog,
                                   shell::SettingsFile& settings);
int32_t saveIgnitionFileWithDialog(const IgnitionState& state, shell::FileDialog& dialog,
                                   shell::SettingsFile& settings);

}  // namespace ignition
