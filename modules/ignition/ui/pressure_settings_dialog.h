#pragma once

#include <cstdint>

#include "modules/ignition/curve_edit.h"
#include "modules/ignition/pressure_settings.h"
#include "modules/ignition/ui/ignition_dialog.h"
#include "shell/ui/dialog_table.h"

class QListWidget;

namespace shell {
class UserPrompts;
}

namespace ignition {

class ListPair;

// "Zündung Druck-Einstellungen" (156): both pressure curves and the
// pressure sensor's scaling. Everything is edited on copies; "OK" stores
// them into the record, "Abbruch" stores nothing.
class PressureSettingsDialog : public IgnitionDialog {
 public:
  static constexpr int32_t kKey = 156;
  static constexpr int32_t kListA = 3360;
  static constexpr int32_t kListB = 3361;
  static constexpr int32_t kFactorField = 3356;
  static constexpr int32_t kOffsetField = 3357;
  static constexpr int32_t kRelativeBox = 3815;
  static constexpr int32_t kDeleteButton = 3005;
  static constexpr int32_t kEditButton = 3006;
  static constexpr int32_t kInsertButton = 3007;

  PressureSettingsDialog(DialogStack& stack, shell::UserPrompts& prompts, IgnitionRecord& record,
                         QWidget* parent);

  int32_t handleCommand(int32_t command) override;

  const PressureSettings& settings() const { return settings_; }
  int32_t activeList() const;
  QListWidget* list(int32_t id) const;

 private:
  void layOut();
  PressureList& activePressureList();
  void refreshLists();
  void deleteEntry();
  void editEntry();
  void insertEntry();
  void runEditor();
  void ok();

  shell::UserPrompts& prompts_;
  IgnitionRecord& record_;
  PressureSettings settings_;
  CurveEditState edit_;
  shell::DialogTable table_;
  QListWidget* listA_;
  QListWidget* listB_;
  ListPair* pair_;
};

}  // namespace ignition
