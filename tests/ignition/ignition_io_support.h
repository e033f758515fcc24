#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "modules/ignition/ignition_io.h"
#include "shell/message_helpers.h"
#include "shell/scripted_prompts.h"
#include "sim/bus.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"

namespace ignition::test {

// Scripted prompts that also note how many frames the bus had seen when the
// wait window opened and closed, so a test can hold the bar's steps
// against the frames sent meanwhile.
class CountingPrompts : public shell::ScriptedPrompts {
 public:
  explicit CountingPrompts(const sim::Bus& bus) : bus_(bus) {}
  void openWaitWindow(int32_t steps, int32_t textId) override {
    framesAtOpen = bus_.framesReceived();
    ScriptedPrompts::openWaitWindow(steps, textId);
  }
  void closeWaitWindow() override {
    if (waitOpened > waitClosed) framesAtClose = bus_.framesReceived();
    ScriptedPrompts::closeWaitWindow();
  }
  int framesAtOpen = -1;
  int framesAtClose = -1;

 private:
  const sim::Bus& bus_;
};

// An ignition on the in-process bus, the page's state and scripted prompts.
struct Bench {
  explicit Bench(const sim::Scenario& scenario = sim::Scenario())
      : bus(scenario), link(std::make_unique<sim::SimDevice>(bus, clock), clock), prompts(bus) {
    link.setPortNumber(4);
    initialiseState(state);
  }

  sim::IgnitionModel& module() { return *bus.ignition(); }

  int32_t read() {
    const int32_t r = readIgnition(state, link, prompts);
    shell::finishOperation(link, prompts, r);
    return r;
  }
  int32_t write() {
    const int32_t r = writeIgnition(state, link, prompts);
    shell::finishOperation(link, prompts, r);
    return r;
  }

  // The frames the PC sent with command nibble `command` to the ignition.
  std::vector<sim::TranscriptEntry> frames(int command) const {
    std::vector<sim::TranscriptEntry> out;
    for (const sim::TranscriptEntry& e : bus.transcript()) {
      if (e.kind == sim::TranscriptEntry::Kind::kFrame && e.pc.size() == 4 &&
          e.pc[0] == (0xE0 | command)) {
        out.push_back(e);
      }
    }
    return out;
  }
  bool wrote() const { return !frames(3).empty(); }
  // The number of the first frame from `from` on whose first three bytes
  // are b0, b1, b2; 0 when there is none.
  int frameNumber(uint8_t b0, uint8_t b1, uint8_t b2, int from = 1) const {
    for (const sim::TranscriptEntry& e : bus.transcript()) {
      if (e.kind == sim::TranscriptEntry::Kind::kFrame && e.number >= from && e.pc[0] == b0 &&
          e.pc[1] == b1 && e.pc[2] == b2) {
        return e.number;
      }
    }
    return 0;
  }

  sim::Bus bus;
  sim::VirtualClock clock;
  buslink::ModuleLink link;
  CountingPrompts prompts;
  IgnitionState state;
};

inline sim::Scenario firmware(uint16_t version) {
  sim::Scenario s;
  s.ignition.firmwareVersion = version;
  return s;
}

}  // namespace ignition::test
