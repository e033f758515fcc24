#pragma once

#include <cstdint>
#include <string>

#include "link/module_link.h"
#include "modules/ignition/ignition_state.h"
#include "shell/user_prompts.h"

// The configuration assistant: a fixed series of questions, number inputs
// and hints that sets up the record for a vehicle instead of the settings
// dialogs. It talks to the module only to read it when no record is there.
namespace ignition {

constexpr int kAssistantFirstStep = 30;
constexpr int kAssistantEnd = 100;
constexpr size_t kAssistantSummaryLimit = 32767;

struct AssistantResult {
  // The series ran (the start was confirmed and the record was there); the
  // caller then refills its dialog and shows the summary.
  bool ran = false;
  // The hints given, each ended by a line feed.
  std::string summary;
};

// Asks 8400 first; "no" leaves everything as it was.
AssistantResult runAssistant(IgnitionState& state, buslink::ModuleLink& link,
                             shell::UserPrompts& prompts);

// The series from step `first` on the record as it is (no start question,
// no read, flags untouched): for tests of single steps.
void runAssistantSteps(IgnitionState& state, shell::UserPrompts& prompts, std::string& summary,
                       int first = kAssistantFirstStep);

}  // namespace ignition
