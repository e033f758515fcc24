#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "viewers/trigger/recording.h"

namespace trigger_test {

// A crank wheel drawn sample by sample with whole-sample pitches, so the
// runs and periods the analysis sees follow from the numbers given here.
// Each present tooth is high for the first half of its pitch; missing
// teeth keep the line low (inverted: every level the other way round).
struct WheelSignal {
  int teeth = 60;
  int missing = 2;
  int firstPitch = 12;  // samples per pitch at the start
  int lastPitch = 12;   // ... at the end of the recording (a linear ramp)
  bool inverted = false;
  int absentTooth = -1;  // tooth index broken off in revolution `absentIn`
  int absentIn = -1;
  int glitchTooth = -1;   // one sample inside this tooth's high half flips ...
  int glitchIn = -1;      // ... in this revolution
  int32_t count = 59000;  // samples recorded
};

struct GeneratedWheel {
  trigger::Recording recording;
  // First slot of each gap period the analysis has to find: the long run
  // together with the run before (inverted) or after it, in order.
  std::vector<int32_t> gapStarts;
};

inline GeneratedWheel generateWheel(const WheelSignal& w) {
  GeneratedWheel out;
  trigger::Recording& rec = out.recording;
  int32_t slot = 0;
  auto put = [&](uint8_t level, int n) {
    for (int i = 0; i < n && slot < w.count; ++i) {
      rec.channelA[static_cast<size_t>(slot)] = w.inverted ? level ^ 1 : level;
      rec.channelB[static_cast<size_t>(slot)] = (slot / 500) % 2;
      ++slot;
    }
  };
  for (int rev = 0; slot < w.count; ++rev) {
    for (int tooth = 0; tooth < w.teeth - w.missing && slot < w.count; ++tooth) {
      const double share = static_cast<double>(slot) / w.count;
      const int pitch =
          static_cast<int>(std::lround(w.firstPitch + (w.lastPitch - w.firstPitch) * share));
      const int high = pitch / 2, low = pitch - high;
      const bool absent = rev == w.absentIn && tooth == w.absentTooth;
      const bool last = tooth == w.teeth - w.missing - 1;
      const int32_t toothStart = slot;
      if (absent) {
        put(0, pitch);
      } else if (rev == w.glitchIn && tooth == w.glitchTooth) {
        put(1, high / 2);
        put(0, 1);
        put(1, high - high / 2 - 1);
      } else {
        put(1, high);
      }
      if (!absent) put(0, low);
      if (last) put(0, w.missing * pitch);
      // The gap period starts with the long low run, or inverted with the
      // (then low) tooth before it; it counts once the next tooth begins.
      if (last && slot < w.count)
        out.gapStarts.push_back(w.inverted ? toothStart : toothStart + high);
    }
  }
  rec.DataCount = w.count;
  rec.DataWrIdx = w.count % trigger::kRingSize;
  return out;
}

}  // namespace trigger_test
