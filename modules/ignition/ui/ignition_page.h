#pragma once

#include <QPointer>
#include <cstdint>

#include "modules/ignition/curve_edit.h"
#include "modules/ignition/ignition_state.h"
#include "modules/ignition/ignition_tools.h"
#include "modules/ignition/pin_check.h"
#include "modules/ignition/ui/qt_dialog_stack.h"
#include "shell/file_dialog.h"
#include "shell/ui/module_page.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace buslink {
class ModuleLink;
}
namespace shell {
class FieldChecks;
class SettingsFile;
class UserPrompts;
}  // namespace shell

namespace ignition {

class BasicSettingsDialog;
class ListPair;

// "Zündung" (page 201): one programmable ignition. The page holds the
// module's state; the buttons run the operations on it and the page shows
// the outcome. Widgets and state meet at the operations: the limiter edit
// goes into the state before each, everything comes back out after it.
class IgnitionPage : public shell::ModulePage, private PinEntry {
 public:
  static constexpr int32_t kDialog = 3000;
  static constexpr int32_t kReadButton = 3001;
  static constexpr int32_t kWriteButton = 3002;
  static constexpr int32_t kLoadButton = 3003;
  static constexpr int32_t kSaveButton = 3004;
  static constexpr int32_t kDeleteButton = 3005;
  static constexpr int32_t kEditButton = 3006;
  static constexpr int32_t kInsertButton = 3007;
  static constexpr int32_t kCurve1List = 3008;
  static constexpr int32_t kCurve2List = 3009;
  static constexpr int32_t kLimiterEdit = 3010;
  static constexpr int32_t kSettingsButton = 3011;
  static constexpr int32_t kVersionStatic = 3012;
  static constexpr int32_t kMemoryImageButton = 3013;
  static constexpr int32_t kTemperatureStatic = 3014;
  static constexpr int32_t kMaxTemperatureStatic = 3016;
  static constexpr int32_t kVehicleInfoButton = 3020;
  static constexpr int32_t kGraphButton = 3022;
  static constexpr int32_t kSerialStatic = 3208;
  static constexpr int32_t kTypeStatic = 3856;

  IgnitionPage(shell::SettingsFile& settings, buslink::ModuleLink& link,
               shell::UserPrompts& prompts);
  ~IgnitionPage() override;

  int32_t handleCommand(int32_t dialogKey, int32_t command) override;

  IgnitionState& state() { return state_; }
  shell::FileDialog& fileDialog() { return fileDialog_; }
  // The list the curve buttons act on (3008 or 3009).
  int32_t activeList() const;
  int32_t offsetIsVersatz() const { return offsetIsVersatz_; }

  // How the viewers are started (the program's sibling executables unless a
  // test says otherwise).
  void setProgramStarter(ProgramStarter start) { programStarter_ = std::move(start); }

  // Shows the state in the widgets (after an operation, or after a test
  // changed the state).
  void fillWidgets();

 protected:
  QWidget* createWidget(QWidget* parent) override;

 private:
  void send(int32_t command);
  DialogStack& dialogs();
  // The limiter edit into the state; false (and the state unchanged) when
  // it holds no limiter the firmware accepts.
  bool takeLimiter();
  bool requireLimiter();
  bool limiterPasses() const;

  void read();
  void write();
  void load();
  void save();
  void memoryImage();
  void deleteEntry();
  void editEntry();
  void insertEntry();
  void runCurveEditor();
  void openSettings();
  void runAssistant(BasicSettingsDialog& settings);
  void openTools(QWidget* parent);
  // Dialog 161 for the PIN check.
  int32_t enterPin(IgnitionRecord& record, buslink::ModuleLink& link,
                   shell::UserPrompts& prompts) override;
  void runTool(int32_t button, QWidget* parent);
  void openGraph();

  QListWidget* activeListWidget() const;
  CurveList& activeCurve();

  shell::SettingsFile& settings_;
  buslink::ModuleLink& link_;
  shell::UserPrompts& prompts_;
  ProgramStarter programStarter_;
  IgnitionState state_;
  shell::FileDialog fileDialog_;
  DialogStack dialogs_;
  CurveEditState edit_;
  int32_t offsetIsVersatz_ = 1;

  QPointer<QListWidget> curve1_;
  QPointer<QListWidget> curve2_;
  QPointer<QLineEdit> limiter_;
  QPointer<QLabel> version_;
  QPointer<QLabel> serial_;
  QPointer<QLabel> type_;
  QPointer<QLabel> temperature_;
  QPointer<QLabel> maxTemperature_;
  ListPair* lists_ = nullptr;
  shell::FieldChecks* limiterCheck_ = nullptr;
};

}  // namespace ignition
