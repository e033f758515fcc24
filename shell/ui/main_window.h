#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

namespace buslink {
class ModuleLink;
}

namespace shell {

class ModulePage;
class SettingsFile;
class TabHostWindow;

// ComPort as the link gets it: a value outside 1-99 becomes 1.
int32_t comPortSetting(SettingsFile& settings);

// The program's one top-level window: title "Tunvexa", the tab host filling
// it, not resizable.
class MainWindow : public QWidget {
 public:
  MainWindow(SettingsFile& settings, buslink::ModuleLink& link,
             const std::vector<ModulePage*>& pages, QWidget* parent = nullptr);

  // The rest of start-up, in this order: the link's port from ComPort, each
  // page's initialise, the tabs.
  void start();

  TabHostWindow& tabHost() { return *tabHost_; }

  // Centres the window on the screen it will open on, so that its title bar
  // and every edge are on the screen; the dialogs open centred over it.
  void placeOnScreen();

 private:
  SettingsFile& settings_;
  buslink::ModuleLink& link_;
  TabHostWindow* tabHost_;
};

}  // namespace shell
