#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "link/module_link.h"
#include "shell/scripted_prompts.h"
#include "sim/bus.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"

namespace test_sim {

// Modules on the in-process bus, the link to them and scripted prompts.
struct ModuleBench {
  explicit ModuleBench(const sim::Scenario& scenario)
      : bus(scenario), link(std::make_unique<sim::SimDevice>(bus, clock), clock) {
    link.setPortNumber(4);
  }
  sim::ModuleModel& module(uint8_t address) { return *bus.moduleAt(address); }
  // The frames the PC sent (first three bytes), in order.
  std::vector<std::vector<uint8_t>> sent() const {
    std::vector<std::vector<uint8_t>> out;
    for (const sim::TranscriptEntry& e : bus.transcript()) {
      if (e.kind == sim::TranscriptEntry::Kind::kFrame && e.pc.size() == 4) {
        out.push_back({e.pc[0], e.pc[1], e.pc[2]});
      }
    }
    return out;
  }

  sim::Bus bus;
  sim::VirtualClock clock;
  buslink::ModuleLink link;
  shell::ScriptedPrompts prompts;
};

}  // namespace test_sim
