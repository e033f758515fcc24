#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "viewers/common/viewer_messages.h"
#include "viewers/trigger/recording.h"

namespace trigger {

// A file as the viewer would take it: a DataLog file through "Daten laden",
// a capture with the switch command in lines 2-4 as "ZEB Text-Datei", any
// other bytes as "ZEB Bin-Datei". False (told through `messages`) when
// nothing could be loaded.
bool loadRecordingFile(const std::string& path, Recording& rec, viewers::ViewerMessages& messages);

// The held samples of both channels, oldest first.
std::vector<std::pair<uint8_t, uint8_t>> samplesInOrder(const Recording& rec);

}  // namespace trigger
