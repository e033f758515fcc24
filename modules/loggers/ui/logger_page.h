#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "shell/ui/dialog_rows.h"
#include "shell/ui/dialog_table.h"
#include "shell/ui/module_page.h"

class QGridLayout;
class QGroupBox;

namespace buslink {
class ModuleLink;
}
namespace shell {
class SettingsFile;
class UserPrompts;
}  // namespace shell

namespace loggers {

// What the four logger pages share: the controls come from the page's
// table, clicks go to run(), the module link and the prompts are the
// program's.
class LoggerPage : public shell::ModulePage {
 public:
  LoggerPage(int32_t pageId, std::span<const shell::ControlRow> rows, shell::SettingsFile& settings,
             buslink::ModuleLink& link, shell::UserPrompts& prompts);
  ~LoggerPage() override;

  int32_t handleCommand(int32_t dialogKey, int32_t command) override;
  // nullptr until the page is first shown.
  shell::DialogTable* table() const { return table_.get(); }

 protected:
  QWidget* createWidget(QWidget* parent) override;
  // Places the controls; `box` makes a titled group of them.
  virtual void layout(QWidget* page, QGridLayout* grid) = 0;
  // After the controls exist: rules, list entries, the first values.
  virtual void prepare() {}
  virtual void run(int32_t id) = 0;

  // A titled group of controls in rows, each field beside its caption.
  QGroupBox* box(QWidget* page, const QString& title, std::span<const int32_t> ids,
                 int columns = 1);
  // The outcome of a module operation: closes the port and shows the text
  // (none for 0).
  void finish(int32_t status);
  void setVersion(int32_t labelId, const std::string& text);

  shell::SettingsFile& settings_;
  buslink::ModuleLink& link_;
  shell::UserPrompts& prompts_;

 private:
  std::span<const shell::ControlRow> rows_;
  std::unique_ptr<shell::DialogTable> table_;
};

}  // namespace loggers
