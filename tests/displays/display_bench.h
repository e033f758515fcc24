#pragma once

#include "sim/display_models.h"
#include "tests/support/module_bench.h"

namespace displays::test {

inline sim::Scenario displayScenario() {
  sim::Scenario s;
  sim::addDisplayModules(s);
  return s;
}

// Every display module on the in-process bus, the link and scripted prompts.
struct Bench : test_sim::ModuleBench {
  explicit Bench(const sim::Scenario& scenario = displayScenario()) : ModuleBench(scenario) {}
};

}  // namespace displays::test
