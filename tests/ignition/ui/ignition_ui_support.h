#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "modules/ignition/ui/ignition_page.h"
#include "modules/ignition/ui/qt_dialog_stack.h"
#include "shell/scripted_prompts.h"
#include "shell/settings_file.h"
#include "shell/ui/main_window.h"
#include "shell/ui/module_page.h"
#include "shell/ui/qt_controls.h"
#include "sim/bus.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"
#include "tests/support/ui_test_support.h"

class QLineEdit;
class QWidget;

namespace igntest {

// An ignition with distinct curves and limiter, so that a read visibly
// changes a new page.
sim::Scenario readableScenario();

// The program's window with the ignition page on an in-process bus, scripted
// prompts and a settings file in a temporary folder.
struct PageBench {
  explicit PageBench(const sim::Scenario& scenario = readableScenario());
  ~PageBench();

  QWidget* pageWidget() const { return page->widget(); }
  void click(int32_t id) const;
  std::vector<QString> entries(int32_t listId) const;

  uitest::TempFolder folder;
  std::unique_ptr<shell::SettingsFile> settings;
  sim::VirtualClock clock;
  std::unique_ptr<sim::Bus> bus;
  std::unique_ptr<buslink::ModuleLink> link;
  shell::ScriptedPrompts prompts;
  std::vector<std::unique_ptr<shell::ModulePage>> pages;
  ignition::IgnitionPage* page = nullptr;
  std::unique_ptr<shell::MainWindow> window;
};

// A dialog on its own: the stack serves its commands directly.
struct DialogBench {
  DialogBench();
  ignition::DialogStack stack;
  shell::ScriptedPrompts prompts;
  ignition::IgnitionState state;
};

}  // namespace igntest
