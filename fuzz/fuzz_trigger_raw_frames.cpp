// A raw frame file ("ZEB Bin-Datei"): any bytes. The import takes whole
// 4-byte groups only, fills at most the ring, and what it fills is what the
// groups' bytes 1 and 2 say, bit 7 first; the analysis and both pictures of
// the result stay inside the ring.
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "viewers/trigger/picture.h"
#include "viewers/trigger/raw_import.h"
#include "viewers/trigger/trigger_analysis.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  trigger::Recording rec;
  trigger::importRawFrames(fuzz_support::asText(data, size), rec);
  const size_t expected = std::min<size_t>(size / 4 * 8, trigger::kRingSize);
  FUZZ_CHECK(static_cast<size_t>(rec.DataCount) == expected);
  for (size_t j = 0; j < expected; ++j) {
    const size_t group = j / 8 * 4;
    const int bit = 7 - static_cast<int>(j % 8);
    FUZZ_CHECK(rec.channelA[j] == ((data[group + 1] >> bit) & 1));
    FUZZ_CHECK(rec.channelB[j] == ((data[group + 2] >> bit) & 1));
  }
  const trigger::Analysis a = trigger::analyse(rec);
  trigger::DisplaySettings s;
  s.SamProPxl = 0.1 + (size % 5) * 0.1;
  trigger::Picture picture;
  picture.width = 97;
  picture.height = 300;
  trigger::drawStopPicture(picture, rec, s, static_cast<int>(size % 64));
  trigger::drawSyncPicture(picture, rec, a, s, 0);
  trigger::drawLivePicture(picture, rec, s);
  return 0;
}
