#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <span>

namespace shell {

// One check box of a module selection dialog.
struct ModuleChoice {
  int32_t controlId;
  const char* caption;  // UTF-8
};

// The check boxes of "Modulauswahl" (FensterListe bits 0-8) and of
// "Modulauswahl weitere" (bits 9-16), in bit order.
std::span<const ModuleChoice> moduleChoicesFirst();
std::span<const ModuleChoice> moduleChoicesMore();

// The dialog keys under which they run.
constexpr int32_t kKeyModuleSelection = 187;
constexpr int32_t kKeyModuleSelectionMore = 502;

constexpr int32_t kCommandOk = 1;
constexpr int32_t kCommandMore = 188;

// A module selection dialog: one check box per module page and the buttons.
// The buttons only send their commands; the owner of the dialog key decides
// what OK and "Weitere" do, so the same rules hold however they are pressed.
// Escape (reject) closes it without anything being sent.
class ModuleSelectionDialog : public QDialog {
 public:
  ModuleSelectionDialog(const QString& title, std::span<const ModuleChoice> choices, bool withMore,
                        std::function<void(int32_t command)> send, QWidget* parent = nullptr);

  // Bit i = box i of the choices.
  void setCheckedBits(uint32_t bits);
  uint32_t checkedBits() const;

 private:
  std::span<const ModuleChoice> choices_;
};

}  // namespace shell
