#include "viewers/trigger/recording_file.h"

#include "viewers/trigger/raw_import.h"
#include "viewers/trigger/trigger_data_file.h"
#include "viewers/trigger/trigger_texts.h"

namespace trigger {

bool loadRecordingFile(const std::string& path, Recording& rec, viewers::ViewerMessages& messages) {
  std::string bytes;
  if (!readWholeFile(path, bytes)) {
    messages.show(kTextRawMissing, viewers::MessageIcon::kError);
    return false;
  }
  if (bytes.compare(0, 7, "DataLog") == 0) {
    ModuleValues values;
    return loadTriggerData(path, rec, values, messages);
  }
  if (!importRawText(bytes, rec)) importRawFrames(bytes, rec);
  return true;
}

std::vector<std::pair<uint8_t, uint8_t>> samplesInOrder(const Recording& rec) {
  std::vector<std::pair<uint8_t, uint8_t>> samples;
  samples.reserve(static_cast<size_t>(rec.DataCount));
  int32_t slot = rec.oldestSlot();
  for (int32_t i = 0; i < rec.DataCount; ++i) {
    samples.push_back({rec.channelA[slot], rec.channelB[slot]});
    slot = nextSlot(slot);
  }
  return samples;
}

}  // namespace trigger
