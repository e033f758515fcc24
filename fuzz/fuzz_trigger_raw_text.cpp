// A raw text file ("ZEB Text-Datei"): any text. Imported or not, the
// recording stays inside the ring; refused text leaves it as it was; an
// imported one starts at slot 1 and has eight samples per line from line 5.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "viewers/trigger/raw_import.h"
#include "viewers/trigger/trigger_analysis.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz_support::asText(data, size);
  trigger::Recording rec;
  rec.DataCount = 123;
  rec.channelA[0] = 1;
  if (!trigger::importRawText(text, rec)) {
    FUZZ_CHECK(rec.DataCount == 123 && rec.channelA[0] == 1);
    return 0;
  }
  FUZZ_CHECK(rec.channelA[0] == 0 && rec.channelB[0] == 0);
  FUZZ_CHECK(rec.DataCount >= 1 && rec.DataCount <= trigger::kRingSize);
  FUZZ_CHECK((rec.DataCount - 1) % 8 == 0 || rec.DataCount == trigger::kRingSize);
  trigger::analyse(rec);
  return 0;
}
