#pragma once

#include <QString>
#include <string>

class QWidget;

namespace trigger {

// The open dialog of a data file (0), a raw frame file (1) or a raw text
// file (2), starting in `folder`; empty when cancelled.
QString askDataFile(QWidget* owner, int kind, const std::string& folder);

// Opens the folder in the desktop's file browser; failures are not told.
void showFolder(const std::string& folder);

}  // namespace trigger
