#pragma once

#include <string>

#include "viewers/common/viewer_messages.h"

namespace trigger {

// The data-file folder asked for with "-pfad": given a trailing "/", and,
// when it does not exist, created if the user agrees. Returns the folder to
// use: the new one, or `current` when the user declines or it cannot be
// made.
std::string dataFolderFromCommandLine(const std::string& value, const std::string& current,
                                      viewers::ViewerMessages& messages);

}  // namespace trigger
