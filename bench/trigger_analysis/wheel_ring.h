#pragma once

#include "sim/trigger_wheel.h"
#include "viewers/trigger/recording.h"

namespace bench_support {

// A full ring as the module records it: a 60-2 wheel at 200 rpm sampled
// 1920 times a second (a 9600 baud line), written from slot `writeIndex` on,
// so the oldest sample lies there.
inline trigger::Recording wheelRing(int32_t writeIndex) {
  sim::TriggerWheelSetup setup;
  setup.fromRpm = setup.toRpm = 200;
  sim::TriggerWheel wheel(setup, 60, 2, 1920.0);
  trigger::Recording rec;
  rec.DataWrIdx = writeIndex;
  for (int32_t i = 0; i < trigger::kRingSize / 8; ++i) {
    const auto [a, b] = wheel.nextEight();
    rec.appendBits(a, b);
  }
  return rec;
}

}  // namespace bench_support
