#pragma once

#include <atomic>
#include <cstdint>

#include "platform/clock.h"

namespace sim {

// Time that moves only when the simulation says so: sleeping and waiting for
// bytes cost nothing real, and every run gives the same times.
// Kept in nanoseconds so that byte times at any baud rate add up exactly.
class VirtualClock : public platform::Clock {
 public:
  explicit VirtualClock(int64_t startUs = 0) : ns_(startUs * 1000) {}

  uint32_t ticks() override { return static_cast<uint32_t>(ns_.load() / 1000000); }
  void sleepMs(uint32_t ms) override { advanceNs(static_cast<int64_t>(ms) * 1000000); }

  int64_t now_us() const { return ns_.load() / 1000; }
  int64_t nowNs() const { return ns_.load(); }
  void advanceNs(int64_t ns) { ns_.fetch_add(ns > 0 ? ns : 0); }
  // Never goes back.
  void advanceToNs(int64_t ns);

 private:
  std::atomic<int64_t> ns_;
};

}  // namespace sim
