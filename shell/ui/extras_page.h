#pragma once

#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>

#include "shell/ui/close_up_combo_box.h"
#include "shell/ui/module_page.h"

class QCheckBox;
class QDialog;
class QListWidget;
class QTimer;

namespace buslink {
class ModuleLink;
}

namespace shell {

class ModuleSelectionDialog;
class SettingsFile;
class UserPrompts;

// "Extras": the COM port, a raw look at the bus, and which module pages
// appear.
class ExtrasPage : public ModulePage {
 public:
  static constexpr int32_t kPortList = 400;
  static constexpr int32_t kReceivedList = 401;
  static constexpr int32_t kPortTestBox = 402;
  static constexpr int32_t kModuleSelectionButton = 403;
  static constexpr int32_t kFirmwareButton = 404;
  static constexpr int32_t kKeyFirmware = 7900;
  static constexpr int kPortTestIntervalMs = 500;

  ExtrasPage(SettingsFile& settings, buslink::ModuleLink& link, UserPrompts& prompts);
  ~ExtrasPage() override;

  // Every visit scans the ports anew.
  void show() override;
  int32_t handleCommand(int32_t dialogKey, int32_t command) override;

  // The steps behind the controls (the controls call them; tests too).
  void scanPorts();
  void choosePort();
  void startPortTest();
  void stopPortTest();
  void portTestTick();
  void runModuleSelection();
  void runFirmwareUpdate();

  // The firmware window lives above the shell; the program hands in how to
  // make one.
  using WindowMaker = std::function<std::unique_ptr<QDialog>(QWidget* parent)>;
  void setFirmwareWindow(WindowMaker maker) { makeFirmwareWindow_ = std::move(maker); }

  bool portTestRunning() const;

 protected:
  QWidget* createWidget(QWidget* parent) override;

 private:
  int32_t confirmSelection(int firstBit, int count, ModuleSelectionDialog* dialog);

  SettingsFile& settings_;
  buslink::ModuleLink& link_;
  UserPrompts& prompts_;
  QPointer<CloseUpComboBox> ports_;
  QPointer<QListWidget> received_;
  QPointer<QCheckBox> portTest_;
  QPointer<QTimer> timer_;
  ModuleSelectionDialog* selection_ = nullptr;      // while dialog 187 runs
  ModuleSelectionDialog* selectionMore_ = nullptr;  // while dialog 502 runs
  WindowMaker makeFirmwareWindow_;
};

}  // namespace shell
