#pragma once

#include "sim/logger_models.h"
#include "tests/support/module_bench.h"

namespace loggers::test {

inline sim::Scenario loggerScenario() {
  sim::Scenario s;
  sim::addLoggerModules(s);
  return s;
}

// The three logger modules on the in-process bus.
struct LoggerBench : test_sim::ModuleBench {
  explicit LoggerBench(const sim::Scenario& scenario = loggerScenario()) : ModuleBench(scenario) {}
};

}  // namespace loggers::test
