#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "viewers/spark/viewer_port.h"

namespace trigger_test {

// A port whose "line" answers each frame the viewer sends from a script,
// and a clock that moves 1 ms per pass of the event loop.
class ScriptedPort : public spark::ViewerPort, public spark::EventPump {
 public:
  bool Settings(const std::string&) override { return true; }
  bool PortIsOpen() override { return true; }
  bool OpenPort() override { return true; }
  void ClosePort() override {}
  void Send(const std::vector<uint8_t>& bytes) override {
    sent.push_back(bytes);
    if (!answers.empty()) {
      pending.push_back(answers.front());
      answers.pop_front();
    }
  }
  int64_t nowMicros() override { return clock; }
  void letEventsRun() override {
    clock += 1000;
    ++passes;
    if (!pending.empty() && deliver) {
      const std::vector<uint8_t> bytes = pending.front();
      pending.pop_front();
      deliver(bytes);
    }
  }

  // What arrives after each frame sent: echo and answer, or anything else.
  std::deque<std::vector<uint8_t>> answers;
  std::deque<std::vector<uint8_t>> pending;
  std::vector<std::vector<uint8_t>> sent;
  std::function<void(const std::vector<uint8_t>&)> deliver;
  int64_t clock = 0;
  int passes = 0;
};

inline std::vector<uint8_t> frame(uint8_t b0, uint8_t b1, uint8_t b2) {
  return {b0, b1, b2, static_cast<uint8_t>(0x5A ^ b0 ^ b1 ^ b2)};
}

inline std::vector<uint8_t> join(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace trigger_test
