#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_device.h"

namespace testing_support {

// A clock that only moves when someone sleeps or waits, and remembers the
// sleeps so that tests can check the protocol's pauses.
class StepClock : public platform::Clock {
 public:
  uint32_t ticks() override { return now; }
  void sleepMs(uint32_t ms) override {
    sleeps.push_back(ms);
    now += ms;
  }
  uint32_t now = 0;
  std::vector<uint32_t> sleeps;
};

// A device that plays an echoing adapter with canned module answers: every
// write is echoed (optionally altered), then the next queued reply follows.
// A read that finds too few bytes advances the clock by its time-out.
class ScriptedDevice : public platform::SerialDevice {
 public:
  explicit ScriptedDevice(StepClock& clock) : clock_(clock) {}

  // Bytes the module sends after the echo of the next frame written.
  std::deque<std::vector<uint8_t>> replies;
  // Bytes waiting for the PC right now (stray bytes, stream frames).
  std::deque<uint8_t> pending;
  // Every byte the PC wrote, in order.
  std::vector<uint8_t> written;
  // XOR 0x01 applied to the echo's byte at this index (-1 = faithful echo);
  // with revalidateEcho the echo's check byte is computed anew afterwards.
  int corruptEchoIndex = -1;
  bool revalidateEcho = false;
  // When set, every read returns its full count of this byte (a busy line).
  bool streaming = false;
  int streamed = 0;
  // The device opens but refuses its line settings (a pulled adapter).
  bool refuseLineSettings = false;

  bool openDevice(int) override { return open_ = true; }
  bool isOpen() const override { return open_; }
  void closeDevice() override { open_ = false; }
  bool setBufferSizes(int, int) override { return true; }
  bool purge() override {
    pending.clear();
    return true;
  }
  bool applyTimeouts(const platform::SerialTimeouts& t) override {
    timeouts_ = t;
    return true;
  }
  bool applyLineSettings(int) override { return !refuseLineSettings; }
  bool setBaudRate(int) override { return true; }
  bool setRts(bool) override { return true; }
  bool setDtr(bool) override { return true; }
  int write(const uint8_t* data, int count) override {
    std::vector<uint8_t> echo(data, data + count);
    written.insert(written.end(), echo.begin(), echo.end());
    if (corruptEchoIndex >= 0 && corruptEchoIndex < count) echo[corruptEchoIndex] ^= 0x01;
    if (revalidateEcho && count == 4)
      echo[3] = static_cast<uint8_t>(0x5A ^ echo[0] ^ echo[1] ^ echo[2]);
    pending.insert(pending.end(), echo.begin(), echo.end());
    if (!replies.empty()) {
      for (uint8_t b : replies.front()) pending.push_back(b);
      replies.pop_front();
    }
    return count;
  }
  int read(uint8_t* buffer, int count) override {
    if (streaming) {
      for (int i = 0; i < count; ++i) buffer[i] = static_cast<uint8_t>(streamed++);
      return count;
    }
    int n = 0;
    while (n < count && !pending.empty()) {
      buffer[n++] = pending.front();
      pending.pop_front();
    }
    if (n < count) clock_.now += timeouts_.readMultiplier * count + timeouts_.readConstant;
    return n;
  }
  void abortRead() override {}

 private:
  StepClock& clock_;
  bool open_ = false;
  platform::SerialTimeouts timeouts_;
};

// A valid frame with its check byte.
inline std::vector<uint8_t> frame(uint8_t b0, uint8_t b1, uint8_t b2) {
  return {b0, b1, b2, static_cast<uint8_t>(0x5A ^ b0 ^ b1 ^ b2)};
}

}  // namespace testing_support
