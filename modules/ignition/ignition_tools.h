#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "modules/ignition/ignition_state.h"
#include "shell/user_prompts.h"

// The tools of the ignition page: the rpm-meter output test, the live
// control of the running module and the start of the two viewers.
namespace ignition {

// --- rpm-meter test -----------------------------------------------------------
constexpr int32_t kRpmMeterStart = 1000;
constexpr int32_t kRpmMeterTop = 9000;
constexpr int32_t kRpmMeterStep = 1000;

// The rpm signal's period in 125 us units, at most 255; rpm below 1 counts
// as 1000.
uint8_t rpmMeterPeriod(uint8_t strokes, uint8_t cylinders, int32_t rpm);
// Asks 9002, then takes the module's cylinders and strokes into the record.
// 0 when the test may run; else the text ID (shown; the link is closed).
int32_t startRpmMeterTest(IgnitionState& state, buslink::ModuleLink& link,
                          shell::UserPrompts& prompts);
int32_t sendRpmMeterPeriod(buslink::ModuleLink& link, const IgnitionRecord& record, int32_t rpm);

// --- control of the running module --------------------------------------------
constexpr int kShiftLimit = 15;

struct ControlState {
  int curve = 1;
  int secondSpark = 0;
  int shift = 0;
  int tick = 0;
};
// 0 when the control may run; else the text ID (shown; the link is closed).
int32_t startControl(IgnitionState& state, buslink::ModuleLink& link, shell::UserPrompts& prompts);
// One 100 ms tick: second spark, curve and shift in turn.
int32_t controlTick(ControlState& control, buslink::ModuleLink& link);
int32_t setControlCurve(ControlState& control, buslink::ModuleLink& link, int curve);
int32_t setControlSecondSpark(ControlState& control, buslink::ModuleLink& link, bool on);
// Shifts the whole curve by `delta` degrees within -15..+15.
int32_t shiftControlCurve(ControlState& control, buslink::ModuleLink& link, int delta);

// --- viewers ------------------------------------------------------------------
enum class Viewer { Taktora, Funkora };

struct ViewerCall {
  std::string program;  // "taktora" or "funkora"
  std::vector<std::string> arguments;
};
// The program and its arguments; `portNumber` as the link keeps it (the
// open flag is dropped).
ViewerCall viewerCall(Viewer viewer, const IgnitionRecord& record, int32_t portNumber);

// Starts a program; false with a reason when it cannot.
using ProgramStarter = std::function<bool(const ViewerCall& call, std::string& why)>;
// 8022 (shown) without a read record; else the link is closed for the viewer
// and the program started. A program that does not start is not reported
// to the user (the viewer may simply not be installed); `why` says why.
int32_t startViewer(Viewer viewer, IgnitionState& state, buslink::ModuleLink& link,
                    shell::UserPrompts& prompts, const ProgramStarter& start, std::string& why);

}  // namespace ignition
