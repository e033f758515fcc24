#include "tests/ignition/ui/ignition_ui_support.h"

#include <stdlib.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "modules/ignition/ignition_state.h"
#include "shell/page_registry.h"
#include "shell/ui/tab_host_window.h"

namespace fs = std::filesystem;

namespace igntest {

sim::Scenario readableScenario() {
  sim::Scenario s;
  // Curve 1: 800 rpm 7, 2500 rpm 22, 7000 rpm 33; curve 2: 1000 rpm -3, 5000 rpm 12.
  const std::vector<std::pair<uint8_t, uint8_t>> bytes = {
      {0x05, 170},  // limiter 8500 rpm
      {0x08, 16},  {0x09, 7},  {0x0A, 50},  {0x0B, 22},  {0x0C, 140}, {0x0D, 33},
      {0x0E, 255}, {0x88, 20}, {0x89, 253}, {0x8A, 100}, {0x8B, 12},  {0x8C, 255},
  };
  for (const auto& [address, value] : bytes) s.ignition.memory[address] = value;
  return s;
}

PageBench::PageBench(const sim::Scenario& scenario) {
  shell::SettingsFile::Folders folders{folder.path + "/work", folder.path + "/appdata",
                                       folder.path + "/docs"};
  for (const std::string* f : {&folders.working, &folders.applicationData, &folders.documents}) {
    fs::create_directories(*f);
  }
  settings = std::make_unique<shell::SettingsFile>(folders, "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
  bus = std::make_unique<sim::Bus>(scenario);
  link =
      std::make_unique<buslink::ModuleLink>(std::make_unique<sim::SimDevice>(*bus, clock), clock);
  auto ignitionPage = std::make_unique<ignition::IgnitionPage>(*settings, *link, prompts);
  page = ignitionPage.get();
  pages.push_back(std::move(ignitionPage));
  for (int32_t id = shell::kFirstPageId + 1; id <= shell::kLastPageId; ++id) {
    pages.push_back(std::make_unique<shell::ModulePage>(id));
  }
  std::vector<shell::ModulePage*> all;
  for (auto& p : pages) all.push_back(p.get());
  window = std::make_unique<shell::MainWindow>(*settings, *link, all);
  window->start();
  uitest::activate(window.get());
}

PageBench::~PageBench() {
  window.reset();
  link->close();
}

void PageBench::click(int32_t id) const {
  uitest::click(pageWidget(), id);
}

std::vector<QString> PageBench::entries(int32_t listId) const {
  std::vector<QString> out;
  auto* list = uitest::control<QListWidget>(pageWidget(), listId);
  for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text());
  return out;
}

DialogBench::DialogBench() {
  ignition::initialiseState(state);
}

}  // namespace igntest
