#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/scenario.h"

namespace sim {

struct ScenarioResult {
  std::optional<Scenario> scenario;
  std::string error;  // "line N: ..." when the text is not a scenario
};

ScenarioResult parseScenario(std::string_view text);
ScenarioResult loadScenarioFile(const std::string& path);

}  // namespace sim
