#pragma once

#include <string>
#include <vector>

#include "platform/clock.h"
#include "viewers/common/viewer_messages.h"
#include "viewers/trigger/module_values.h"
#include "viewers/trigger/recording.h"

namespace trigger {

// "Taktora Logfile yyyy-MM-dd hh.mm.ss.dat" in `folder` (which ends in "/").
std::string dataFileName(const std::string& folder, const platform::LocalTime& now);

// The channels from the oldest sample on, and the write index that order
// has: a full ring starts at `DataWrIdx` (write index 0), a partial one at
// slot 0 (write index unchanged).
struct StoredOrder {
  std::vector<uint8_t> channelA;
  std::vector<uint8_t> channelB;
  int32_t writeIndex = 0;
};
StoredOrder storedOrder(const Recording& recording);

// "Daten speichern": the module values and the recording as a DataLog file.
// Tells "gespeichert" or the reason it failed.
bool saveTriggerData(const std::string& path, const Recording& recording,
                     const ModuleValues& values, viewers::ViewerMessages& messages,
                     const platform::LocalTime& now = platform::localTime());

// "Daten laden": a file of this program replaces the recording and the
// module values. A refused file changes neither.
bool loadTriggerData(const std::string& path, Recording& recording, ModuleValues& values,
                     viewers::ViewerMessages& messages);

}  // namespace trigger
