#pragma once

#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "link/module_link.h"
#include "modules/displays/ui/display_page.h"
#include "shell/page_registry.h"
#include "shell/scripted_prompts.h"
#include "shell/settings_file.h"
#include "shell/ui/main_window.h"
#include "shell/ui/tab_host_window.h"
#include "sim/bus.h"
#include "sim/display_models.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"
#include "tests/support/ui_test_support.h"

namespace displays::uitest_bench {

// The program's window with every page, the display pages on an in-process
// bus with every display module, scripted prompts and a settings file in a
// temporary folder.
struct PageBench {
  PageBench() {
    namespace fs = std::filesystem;
    shell::SettingsFile::Folders folders{folder.path + "/work", folder.path + "/appdata",
                                         folder.path + "/docs"};
    for (const std::string* f : {&folders.working, &folders.applicationData, &folders.documents})
      fs::create_directories(*f);
    settings = std::make_unique<shell::SettingsFile>(folders, "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
    // Every module page gets its tab.
    settings->set("FensterListe", "131071");
    sim::Scenario scenario;
    sim::addDisplayModules(scenario);
    bus = std::make_unique<sim::Bus>(scenario);
    link =
        std::make_unique<buslink::ModuleLink>(std::make_unique<sim::SimDevice>(*bus, clock), clock);
    for (int32_t id = shell::kFirstPageId; id <= shell::kLastPageId; ++id) {
      auto page = makeDisplayPage(id, *settings, *link, prompts);
      pages.push_back(page ? std::move(page) : std::make_unique<shell::ModulePage>(id));
    }
    std::vector<shell::ModulePage*> all;
    for (auto& p : pages) all.push_back(p.get());
    window = std::make_unique<shell::MainWindow>(*settings, *link, all);
    window->start();
    uitest::activate(window.get());
  }
  ~PageBench() {
    window.reset();
    link->close();
  }

  // Shows the page of `pageId` and hands back its widget.
  QWidget* show(int32_t pageId) {
    const auto& ids = window->tabHost().tabPageIds();
    const auto it = std::find(ids.begin(), ids.end(), pageId);
    window->tabHost().showPage(static_cast<int>(it - ids.begin()));
    return window->tabHost().page(pageId)->widget();
  }
  DisplayPage& page(int32_t pageId) {
    return static_cast<DisplayPage&>(*window->tabHost().page(pageId));
  }
  sim::ModuleModel& module(uint8_t address) { return *bus->moduleAt(address); }

  uitest::TempFolder folder;
  std::unique_ptr<shell::SettingsFile> settings;
  sim::VirtualClock clock;
  std::unique_ptr<sim::Bus> bus;
  std::unique_ptr<buslink::ModuleLink> link;
  shell::ScriptedPrompts prompts;
  std::vector<std::unique_ptr<shell::ModulePage>> pages;
  std::unique_ptr<shell::MainWindow> window;
};

}  // namespace displays::uitest_bench
