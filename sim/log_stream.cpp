#include "sim/log_stream.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

bool listed(const std::vector<int>& numbers, int n) {
  return std::find(numbers.begin(), numbers.end(), n) != numbers.end();
}

}  // namespace

double LogStream::sparkTicks(double rpm, int cylinders, int strokes) {
  // 60 s per revolution / (sparks per revolution) / 4 us.
  const double sparksPerRevolution = cylinders * 2.0 / strokes;
  return 60.0 / (rpm * sparksPerRevolution) * 1e6 / kTickUs;
}

void LogStream::start(int64_t nowUs, int cylinders, int strokes, uint16_t periodWord) {
  if (active_) return;
  active_ = true;
  startUs_ = nowUs;
  // An unconfigured module (cells erased) still fires like the default one.
  cylinders_ = cylinders >= 1 && cylinders <= 16 ? cylinders : 4;
  strokes_ = strokes == 2 ? 2 : 4;
  periodWord_ = periodWord;
  lastSparkTicks_ = 0;
  sparks_ = 0;
  packets_ = 0;
  planned_.clear();
  planPacket();
}

void LogStream::stop() {
  active_ = false;
  planned_.clear();
}

double LogStream::rpmAt(double ticks) const {
  const double ms = ticks * kTickUs / 1000.0;
  if (setup_.rampMs <= 0) return setup_.fromRpm;
  if (ms >= setup_.rampMs) return setup_.toRpm;
  return setup_.fromRpm + (setup_.toRpm - setup_.fromRpm) * ms / setup_.rampMs;
}

void LogStream::planPacket() {
  planned_.clear();
  if (setup_.fromRpm <= 0 && periodWord_ == 0) return;  // the engine stands still
  while (static_cast<int>(planned_.size()) < kSparksPerPacket) {
    const double step = setup_.fromRpm > 0
                            ? sparkTicks(rpmAt(lastSparkTicks_), cylinders_, strokes_)
                            : static_cast<double>(periodWord_);
    lastSparkTicks_ += step;
    ++sparks_;
    if (!listed(setup_.misfires, sparks_)) planned_.push_back(lastSparkTicks_);
  }
}

std::optional<int64_t> LogStream::nextPacketUs() const {
  if (!active_ || planned_.empty()) return std::nullopt;
  return startUs_ + static_cast<int64_t>(std::ceil(planned_.back() * kTickUs));
}

void LogStream::advanceTo(int64_t nowUs, std::vector<uint8_t>& out) {
  for (auto due = nextPacketUs(); due && *due <= nowUs; due = nextPacketUs()) {
    ++packets_;
    uint8_t p[kPacketSize] = {kPacketStart, static_cast<uint8_t>(packets_)};
    // The module's counter runs since power-on; its phase here is the bus time.
    const int64_t startTick = startUs_ / kTickUs;
    for (int i = 0; i < kSparksPerPacket; ++i) {
      const auto stamp =
          static_cast<uint16_t>(startTick + static_cast<int64_t>(std::floor(planned_[i])));
      p[2 + 2 * i] = static_cast<uint8_t>(stamp >> 8);
      p[3 + 2 * i] = static_cast<uint8_t>(stamp);
    }
    uint8_t x = kPacketCheck;
    for (size_t i = 0; i + 1 < kPacketSize; ++i) x ^= p[i];
    p[kPacketSize - 1] = x;
    if (listed(setup_.corruptPackets, packets_)) p[kPacketSize - 1] ^= 0x01;
    out.insert(out.end(), p, p + kPacketSize);
    planPacket();
  }
}

}  // namespace sim
