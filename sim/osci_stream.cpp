#include "sim/osci_stream.h"

#include <cmath>

namespace sim {

void OsciStream::start(int64_t nowUs, int baud, int teeth, int missing) {
  if (active()) return;
  framePeriodUs_ = kBitsPerFrame * 1e6 / baud;
  wheel_.emplace(setup_, teeth, missing, baud * 8.0 / kBitsPerFrame);
  startUs_ = nowUs;
  frames_ = 0;
}

void OsciStream::stop() {
  wheel_.reset();
}

std::optional<int64_t> OsciStream::nextFrameUs() const {
  if (!active()) return std::nullopt;
  return startUs_ + static_cast<int64_t>(std::ceil((frames_ + 1) * framePeriodUs_));
}

void OsciStream::advanceTo(int64_t nowUs, std::vector<uint8_t>& out) {
  for (auto due = nextFrameUs(); due && *due <= nowUs; due = nextFrameUs()) {
    const auto [a, b] = wheel_->nextEight();
    out.insert(out.end(), {kFrameStart, a, b, static_cast<uint8_t>(0x5A ^ kFrameStart ^ a ^ b)});
    ++frames_;
  }
}

}  // namespace sim
