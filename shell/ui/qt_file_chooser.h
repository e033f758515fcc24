#pragma once

#include <string>

#include "shell/file_dialog.h"

class QString;

namespace shell {

// The extension a filter "description (*.ext *.other)" gives a typed name
// without one: its first pattern's, or none for "*.*" and wildcards.
QString filterSuffix(const QString& filter);

// The system file dialog for FileDialog: starts in the dialog's folder with
// its file name, offers its filters as "description (pattern)", and hands
// back the chosen full path.
bool chooseFileWithQt(FileDialog::Kind kind, const FileDialog& dialog, std::string& chosenPath);

}  // namespace shell
