#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sim/trigger_wheel.h"

namespace sim {

// The ignition's oscilloscope mode ("Oszimode"): frames {0xEE, A, B, check}
// back to back at the module rate, each with eight samples of both trigger
// inputs (oldest in the most significant bit), so the module samples at a
// fifth of the baud rate (1920 samples per second at 9600 baud).
class OsciStream {
 public:
  static constexpr uint8_t kFrameStart = 0xEE;
  static constexpr int kBitsPerFrame = 40;

  explicit OsciStream(TriggerWheelSetup setup = {}) : setup_(std::move(setup)) {}

  // `teeth` and `missing` as the module is configured (memory 99 and 100).
  void start(int64_t nowUs, int baud, int teeth, int missing);
  void stop();
  bool active() const { return wheel_.has_value(); }

  std::optional<int64_t> nextFrameUs() const;
  // Appends every frame due by `nowUs`.
  void advanceTo(int64_t nowUs, std::vector<uint8_t>& out);

  int framesSent() const { return frames_; }
  const TriggerWheel* wheel() const { return wheel_ ? &*wheel_ : nullptr; }

 private:
  TriggerWheelSetup setup_;
  std::optional<TriggerWheel> wheel_;
  int64_t startUs_ = 0;
  double framePeriodUs_ = 0.0;
  int frames_ = 0;
};

}  // namespace sim
