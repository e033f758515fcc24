#include "platform/clock.h"

#include <cerrno>
#include <ctime>

namespace platform {

namespace {

class MonotonicClock : public Clock {
 public:
  uint32_t ticks() override { return static_cast<uint32_t>(monotonicMicros() / 1000); }
  void sleepMs(uint32_t ms) override { sleepMicros(static_cast<int64_t>(ms) * 1000); }
};

}  // namespace

Clock& systemClock() {
  static MonotonicClock clock;
  return clock;
}

int64_t monotonicMicros() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void sleepMicros(int64_t micros) {
  if (micros <= 0) return;
  timespec ts{};
  ts.tv_sec = micros / 1000000;
  ts.tv_nsec = (micros % 1000000) * 1000;
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

LocalTime localTime() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  LocalTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.weekday = tm.tm_wday;
  return t;
}

}  // namespace platform
