#pragma once

#include <string>

namespace platform {

// The folders the program keeps its files in, as the desktop reports them.
// None of them ends with "/".

// The working folder of the process.
std::string currentFolder();

// $XDG_CONFIG_HOME (when it is an absolute path), else ~/.config.
std::string applicationDataFolder();

// The user's documents folder: $XDG_DOCUMENTS_DIR when set (lets scripts and
// tests point it elsewhere), else the XDG_DOCUMENTS_DIR line of
// user-dirs.dirs in the application-data folder, else ~/Documents.
std::string documentsFolder();

// $HOME, or the password database's home folder when HOME is not set.
std::string homeFolder();

}  // namespace platform
