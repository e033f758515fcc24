#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "modules/displays/rally_timer.h"
#include "modules/displays/small_displays.h"

// The pages without a settings file keep their fields for the command line
// as a text: the page caption on the first line, then "label=value" lines
// with the page's labels. Read-only lists come as repeated labels and are
// not taken back.
namespace displays {

std::string oilDisplayText(const OilDisplaySettings& s);
std::string stopwatchText(const StopwatchSettings& s);
std::string rallyTimerText(const RallyTimerSettings& s);

// 0; 8059 for a text of another page; 8015 for a line that is no field of
// the page or a value that is no number. A failed parse changes nothing.
int32_t parseOilDisplayText(std::string_view text, OilDisplaySettings& s);
int32_t parseStopwatchText(std::string_view text, StopwatchSettings& s);
int32_t parseRallyTimerText(std::string_view text, RallyTimerSettings& s);

}  // namespace displays
