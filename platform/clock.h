#pragma once

#include <cstdint>

namespace platform {

// Millisecond time as the link layers see it. The real clock is monotonic;
// the in-process simulator substitutes a virtual one so that a test of a
// 3000 ms search loop takes no real time.
class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; wraps like a 32-bit tick count.
  virtual uint32_t ticks() = 0;
  virtual void sleepMs(uint32_t ms) = 0;
};

// The process-wide monotonic clock.
Clock& systemClock();

// Microseconds since an arbitrary start, monotonic (for pacing and benchmarks).
int64_t monotonicMicros();
void sleepMicros(int64_t micros);

struct LocalTime {
  int year = 0;   // four digits
  int month = 0;  // 1-12
  int day = 0;    // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 0;  // 0 = Sunday
};

LocalTime localTime();

}  // namespace platform
