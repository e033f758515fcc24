#pragma once

// The shell as the program builds it, and the simulator as a program, for the
// shell's GUI tests.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "shell/scripted_prompts.h"
#include "shell/settings_file.h"
#include "shell/ui/extras_page.h"
#include "shell/ui/info_page.h"
#include "shell/ui/main_window.h"
#include "shell/ui/module_page.h"
#include "shell/ui/tab_host_window.h"
#include "sim/bus.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"
#include "tests/support/ui_test_support.h"

class QProcess;
class QWidget;

namespace guitest {

// tunvexa-sim serving one COM number in the temporary config folder.
class SimProgram {
 public:
  // Empty scenario text: the simulator's default bus.
  SimProgram(int com, const std::string& scenarioText = {});
  ~SimProgram();
  bool ready() const { return ready_; }
  QString output() const;

 private:
  std::unique_ptr<QProcess> process_;
  uitest::TempFolder folder_;
  bool ready_ = false;
};

// Dangling links for every COM number outside `keep`, so that a port scan
// sees only the ports a test provides and none of the machine's devices.
void hideMachinePorts(const std::set<int>& keep);
void removePortLinks();

struct ShellOptions {
  // false: the link runs on the in-process bus, where only simPorts exist;
  // true: on the machine's serial layer (COM links in portsFolder()).
  bool realPorts = false;
  std::set<int> simPorts{2};
  sim::Scenario scenario;
  // The object for a module page id 201-217; nullptr = an empty page.
  std::function<std::unique_ptr<shell::ModulePage>(int32_t id)> modulePage;
};

// The whole shell as the program builds it, with scripted prompts and a
// settings file in a temporary folder.
class Shell {
 public:
  explicit Shell(ShellOptions options = {});
  ~Shell();

  void start() { window->start(); }
  shell::TabHostWindow& host() { return window->tabHost(); }
  QStringList tabCaptions();
  // Clicks the tab of page `pageId`; false when it has no tab.
  bool clickTab(int32_t pageId);

  uitest::TempFolder folder;
  std::unique_ptr<shell::SettingsFile> settings;
  sim::VirtualClock clock;
  std::unique_ptr<sim::Bus> bus;
  sim::SimDevice* device = nullptr;  // owned by the link
  std::unique_ptr<buslink::ModuleLink> link;
  shell::ScriptedPrompts prompts;
  std::vector<std::unique_ptr<shell::ModulePage>> modulePages;
  std::unique_ptr<shell::ExtrasPage> extras;
  std::unique_ptr<shell::InfoPage> info;
  std::unique_ptr<shell::MainWindow> window;
};

}  // namespace guitest
