#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace sim {

// A crank trigger wheel and the ignition's second trigger input as the
// module samples them. Channel A is the crank sensor: each tooth is high for
// the first half of its pitch, a missing tooth keeps the line low (inverted:
// the other way round). Channel B is a cam sensor: high for the first 45° of
// every second revolution.
struct TriggerWheelSetup {
  int teeth = 0;     // pitches of the complete wheel; 0: the module's own (memory 99)
  int missing = -1;  // teeth missing at the gap; -1: the module's own (memory 100)
  bool inverted = false;
  int fromRpm = 300;
  int toRpm = 300;  // reached after rampMs
  int rampMs = 0;
  std::vector<int> absentTeeth;  // teeth (from 1) broken off in every revolution
  bool extraTooth = false;       // a tooth stands in the first pitch of the gap
  // Recorded samples (channel A, B) played over and over instead of the
  // wheel, so that a capture from a vehicle can be reproduced.
  std::shared_ptr<const std::vector<std::pair<uint8_t, uint8_t>>> replay;
};

class TriggerWheel {
 public:
  // `samplesPerSecond` is the module's sampling rate. Teeth and missing
  // teeth that make no wheel fall back to 60-2.
  TriggerWheel(const TriggerWheelSetup& setup, int teeth, int missing, double samplesPerSecond);

  // Levels of channel A and B at the next sample instant.
  std::pair<uint8_t, uint8_t> nextSample();
  // Eight samples as a byte each, the oldest in the most significant bit.
  std::pair<uint8_t, uint8_t> nextEight();

  double rpmNow() const;
  double angle() const { return angle_; }
  int teeth() const { return teeth_; }
  int missing() const { return missing_; }

 private:
  bool toothPresent(int index) const;

  TriggerWheelSetup setup_;
  int teeth_;
  int missing_;
  double samplePeriodS_;
  double timeS_ = 0.0;
  double angle_ = 0.0;
  size_t replayAt_ = 0;  // degrees since the start, 0 at the first tooth's edge
};

}  // namespace sim
