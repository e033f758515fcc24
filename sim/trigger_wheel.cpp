#include "sim/trigger_wheel.h"

#include <algorithm>
#include <cmath>

namespace sim {

TriggerWheel::TriggerWheel(const TriggerWheelSetup& setup, int teeth, int missing,
                           double samplesPerSecond)
    : setup_(setup),
      teeth_(setup.teeth > 0 ? setup.teeth : teeth),
      missing_(setup.missing >= 0 ? setup.missing : missing),
      samplePeriodS_(1.0 / samplesPerSecond) {
  if (teeth_ < 2 || teeth_ > 255 || missing_ < 0 || missing_ >= teeth_) {
    teeth_ = 60;
    missing_ = 2;
  }
}

double TriggerWheel::rpmNow() const {
  const double ms = timeS_ * 1000.0;
  if (setup_.rampMs <= 0 || ms >= setup_.rampMs) {
    return setup_.rampMs <= 0 ? setup_.fromRpm : setup_.toRpm;
  }
  return setup_.fromRpm + (setup_.toRpm - setup_.fromRpm) * ms / setup_.rampMs;
}

bool TriggerWheel::toothPresent(int index) const {
  const int firstMissing = teeth_ - missing_;
  if (index >= firstMissing) return setup_.extraTooth && missing_ >= 2 && index == firstMissing;
  return std::find(setup_.absentTeeth.begin(), setup_.absentTeeth.end(), index + 1) ==
         setup_.absentTeeth.end();
}

std::pair<uint8_t, uint8_t> TriggerWheel::nextSample() {
  if (setup_.replay && !setup_.replay->empty()) {
    const std::pair<uint8_t, uint8_t> s = (*setup_.replay)[replayAt_];
    replayAt_ = (replayAt_ + 1) % setup_.replay->size();
    timeS_ += samplePeriodS_;
    return s;
  }
  const double pitch = 360.0 / teeth_;
  const double inRevolution = std::fmod(angle_, 360.0);
  const int index = std::min(static_cast<int>(inRevolution / pitch), teeth_ - 1);
  const bool onTooth = inRevolution - index * pitch < pitch / 2;
  uint8_t a = toothPresent(index) && onTooth ? 1 : 0;
  if (setup_.inverted) a ^= 1;
  const uint8_t b = std::fmod(angle_, 720.0) < 45.0 ? 1 : 0;
  // The speed of the instant just sampled carries the wheel to the next one.
  angle_ += rpmNow() * 6.0 * samplePeriodS_;
  timeS_ += samplePeriodS_;
  return {a, b};
}

std::pair<uint8_t, uint8_t> TriggerWheel::nextEight() {
  uint8_t a = 0, b = 0;
  for (int i = 0; i < 8; ++i) {
    const auto [sa, sb] = nextSample();
    a = static_cast<uint8_t>(a << 1 | sa);
    b = static_cast<uint8_t>(b << 1 | sb);
  }
  return {a, b};
}

}  // namespace sim
