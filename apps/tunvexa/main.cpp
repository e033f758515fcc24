#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "apps/tunvexa/command_line.h"
#include "firmware/ui/firmware_window.h"
#include "link/boot_link.h"
#include "modules/displays/ui/display_page.h"
#include "modules/ignition/settings_backup.h"
#include "shell/folders.h"
#include "link/module_link.h"
#include "modules/ignition/ui/ignition_page.h"
#include "modules/loggers/ui/logger_pages.h"
#include "shell/file_dialog.h"
#include "shell/page_registry.h"
#include "shell/settings_file.h"
#include "shell/ui/app_icon.h"
#include "shell/ui/extras_page.h"
#include "shell/ui/info_page.h"
#include "shell/ui/main_window.h"
#include "shell/ui/module_page.h"
#include "shell/ui/qt_file_chooser.h"
#include "shell/ui/qt_prompts.h"
#include "shell/ui/qt_translations.h"
#include "shell/ui/tab_host_window.h"

int main(int argc, char** argv) {
  const tunvexa::Options options = tunvexa::parseCommandLine(argc, argv);
  if (options.help) {
    std::fputs(tunvexa::usageText(), stdout);
    return 0;
  }
  if (!options.error.empty()) {
    std::fprintf(stderr, "tunvexa: %s\n\n%s", options.error.c_str(), tunvexa::usageText());
    return 2;
  }

  // The settings come first: everything after reads from them.
  shell::SettingsFile settings;
  if (options.comPort) settings.set("ComPort", std::to_string(*options.comPort));
  buslink::ModuleLink moduleLink;

  // Qt sees only the arguments that are not ours.
  std::vector<char*> qtArgs{argv[0]};
  std::vector<std::string> rest = options.rest;
  for (std::string& a : rest) qtArgs.push_back(a.data());
  qtArgs.push_back(nullptr);
  int qtArgc = static_cast<int>(qtArgs.size()) - 1;
  QApplication app(qtArgc, qtArgs.data());
  shell::installGermanQtTexts(app);
  QApplication::setWindowIcon(shell::programIcon());

  shell::QtPrompts prompts(moduleLink);
  moduleLink.setMessageHook([&prompts](int32_t textId) { prompts.showMessage(textId); });
  shell::FileDialog::setChooser(shell::chooseFileWithQt);

  // One object per page; the module pages are empty until their modules are built.
  std::vector<std::unique_ptr<shell::ModulePage>> modulePages;
  modulePages.push_back(std::make_unique<ignition::IgnitionPage>(settings, moduleLink, prompts));
  for (int32_t id = shell::kFirstPageId + 1; id < shell::kPageExtras; ++id) {
    modulePages.push_back(std::make_unique<shell::ModulePage>(id));
  }
  // The data loggers' pages take the places of their empty ones.
  for (auto& page : modulePages) {
    if (auto logger = loggers::makeLoggerPage(page->pageId(), settings, moduleLink, prompts)) {
      page = std::move(logger);
    }
  }
  // So do the display modules' pages.
  for (auto& page : modulePages) {
    if (auto display = displays::makeDisplayPage(page->pageId(), settings, moduleLink, prompts)) {
      page = std::move(display);
    }
  }
  shell::ExtrasPage extras(settings, moduleLink, prompts);
  buslink::BootLink bootLink;
  extras.setFirmwareWindow([&](QWidget* parent) -> std::unique_ptr<QDialog> {
    auto backup = [&prompts](buslink::ModuleLink& link, const std::string& folder,
                             std::string& fileName) {
      return ignition::backupIgnitionSettings(link, prompts, folder, fileName);
    };
    std::string folder = shell::makerDocumentsFolder();
    folder += "/Firmware";
    return std::make_unique<firmware::FirmwareWindow>(bootLink, moduleLink, folder, backup, parent);
  });
  shell::InfoPage info;
  std::vector<shell::ModulePage*> pages;
  for (auto& p : modulePages) pages.push_back(p.get());
  pages.push_back(&extras);
  pages.push_back(&info);

  int exitCode = 0;
  {
    shell::MainWindow window(settings, moduleLink, pages);
    prompts.setHost(&window.tabHost());
    // Built to its final size first, so that it opens whole on the screen.
    window.start();
    window.placeOnScreen();
    window.show();
    exitCode = app.exec();
    prompts.setHost(nullptr);
  }

  // Shutdown: the links give their ports free, then the settings go to disk.
  moduleLink.close();
  bootLink.close();
  settings.flush();
  return exitCode;
}
