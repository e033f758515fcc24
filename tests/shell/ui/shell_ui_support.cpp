#include "tests/shell/ui/shell_ui_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "shell/page_registry.h"

namespace fs = std::filesystem;

namespace guitest {

using uitest::configHome;
using uitest::portsFolder;

SimProgram::SimProgram(int com, const std::string& scenarioText)
    : process_(std::make_unique<QProcess>()) {
  QStringList args{QStringLiteral("--com"), QString::number(com)};
  if (!scenarioText.empty()) {
    const std::string file = folder_.path + "/scenario.txt";
    std::ofstream(file) << scenarioText;
    args << QStringLiteral("--scenario") << QString::fromStdString(file);
  }
  process_->setProcessChannelMode(QProcess::MergedChannels);
  process_->start(QStringLiteral(TUNVEXA_BIN_DIR "/tunvexa-sim/tunvexa-sim"), args);
  const QString expected = QStringLiteral("tunvexa-sim: COM%1 ready").arg(com);
  QString seen;
  QDeadlineTimer deadline(10000);
  while (!deadline.hasExpired() && process_->state() != QProcess::NotRunning) {
    if (process_->waitForReadyRead(100)) seen += QString::fromLocal8Bit(process_->readAll());
    if (seen.contains(expected)) {
      ready_ = true;
      break;
    }
  }
}

SimProgram::~SimProgram() {
  if (process_->state() != QProcess::NotRunning) {
    process_->terminate();
    if (!process_->waitForFinished(3000)) {
      process_->kill();
      process_->waitForFinished(3000);
    }
  }
}

QString SimProgram::output() const {
  return QString::fromLocal8Bit(process_->readAll());
}

void hideMachinePorts(const std::set<int>& keep) {
  fs::create_directories(portsFolder());
  for (int n = 1; n <= 99; ++n) {
    if (keep.count(n) != 0) continue;
    const fs::path link = fs::path(portsFolder()) / ("com" + std::to_string(n));
    std::error_code ec;
    fs::remove(link, ec);
    fs::create_symlink(fs::path(configHome()) / "absent-device", link, ec);
  }
}

void removePortLinks() {
  std::error_code ec;
  fs::remove_all(portsFolder(), ec);
}

Shell::Shell(ShellOptions options) {
  shell::SettingsFile::Folders folders{folder.path + "/work", folder.path + "/appdata",
                                       folder.path + "/docs"};
  for (const std::string* f : {&folders.working, &folders.applicationData, &folders.documents}) {
    fs::create_directories(*f);
  }
  settings = std::make_unique<shell::SettingsFile>(folders, "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
  if (options.realPorts) {
    link = std::make_unique<buslink::ModuleLink>();
  } else {
    bus = std::make_unique<sim::Bus>(options.scenario);
    auto simDevice = std::make_unique<sim::SimDevice>(*bus, clock);
    simDevice->setAvailablePorts(options.simPorts);
    device = simDevice.get();
    link = std::make_unique<buslink::ModuleLink>(std::move(simDevice), clock);
  }
  std::vector<shell::ModulePage*> pages;
  for (int32_t id = shell::kFirstPageId; id < shell::kPageExtras; ++id) {
    std::unique_ptr<shell::ModulePage> p;
    if (options.modulePage) p = options.modulePage(id);
    if (!p) p = std::make_unique<shell::ModulePage>(id);
    pages.push_back(p.get());
    modulePages.push_back(std::move(p));
  }
  extras = std::make_unique<shell::ExtrasPage>(*settings, *link, prompts);
  info = std::make_unique<shell::InfoPage>();
  pages.push_back(extras.get());
  pages.push_back(info.get());
  window = std::make_unique<shell::MainWindow>(*settings, *link, pages);
  window->show();
}

Shell::~Shell() {
  window.reset();
  link->close();
}

QStringList Shell::tabCaptions() {
  QStringList captions;
  QTabWidget* tabs = host().tabs();
  for (int i = 0; i < tabs->count(); ++i) captions << tabs->tabText(i);
  return captions;
}

bool Shell::clickTab(int32_t pageId) {
  const auto& ids = host().tabPageIds();
  for (size_t i = 0; i < ids.size(); ++i) {
    if (ids[i] == pageId) {
      // What a click on the tab bar does: the selection changes.
      host().tabs()->tabBar()->setCurrentIndex(static_cast<int>(i));
      return true;
    }
  }
  return false;
}

}  // namespace guitest
