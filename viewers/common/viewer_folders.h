#pragma once

#include <string>

#include "viewers/common/product.h"

namespace viewers {

// The folders a viewer derives its per-user folders from. Each is given
// without a trailing "/"; fromEnvironment() takes them from the desktop (XDG).
struct ViewerFolders {
  std::string program;       // the folder of the program file
  std::string userData;      // the user's application-data folder
  std::string allUsersData;  // the machine-wide one (first of $XDG_CONFIG_DIRS)
  std::string documents;     // the user's documents folder

  static ViewerFolders fromEnvironment(const std::string& programFolder);
};

// Both bases end in "/". A portable installation keeps everything in
// "Anwendungsdaten" (or "Eigene Dateien") beside the program; otherwise the
// base is <folder>/ZEB/<product> <version>/.

// The settings file and the error log lie here; the folders are created
// for the user's variant. The all-users variant is only read from, so
// nothing is created for it.
std::string applicationDataBase(const ViewerFolders& folders, const ProductInfo& product,
                                bool allUsers = false);
// Where the user's data files go; only the ZEB folder is created here.
std::string documentsBase(const ViewerFolders& folders, const ProductInfo& product);

}  // namespace viewers
