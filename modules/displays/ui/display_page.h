#pragma once

#include <QPointer>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "modules/displays/display_kind.h"
#include "shell/file_dialog.h"
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

namespace displays {

// Control numbers every display page shares.
namespace page_id {
constexpr int32_t kRead = 1001;
constexpr int32_t kWrite = 1002;
constexpr int32_t kTest = 1003;
constexpr int32_t kLoad = 1004;
constexpr int32_t kSave = 1005;
constexpr int32_t kVersion = 1006;
constexpr int32_t kFirstOwn = 1010;  // the module's own controls from here on
}  // namespace page_id

// What the page hands to a module's own commands.
struct PageContext {
  buslink::ModuleLink& link;
  shell::UserPrompts& prompts;
  shell::DialogTable& table;
  QWidget* page;
};

// One display module's part of its page: its controls as a table, where
// they stand, and the moves between its settings record and the controls.
// The page runs the pattern every display shares (read, write, test, load,
// save with the status convention) and hands everything else here.
class DisplayPageModel {
 public:
  virtual ~DisplayPageModel() = default;
  virtual DisplayKind kind() const = 0;
  virtual std::span<const shell::ControlRow> controls() const = 0;
  // Places the controls (group boxes made with `group`) into `grid`.
  virtual void layout(QWidget* page, shell::DialogTable& table, QGridLayout* grid) = 0;
  // Once, after the controls exist: checks that depend on other fields,
  // list entries.
  virtual void prepare(PageContext&) {}

  // Settings record to controls and back.
  virtual void show(shell::DialogTable& table) = 0;
  virtual void take(const shell::DialogTable& table) = 0;

  // The statuses of the display pattern; `hasRead` false for the bar display.
  virtual bool hasRead() const { return true; }
  virtual int32_t read(buslink::ModuleLink&, shell::UserPrompts&) { return 0; }
  virtual int32_t write(buslink::ModuleLink& link, shell::UserPrompts& prompts) = 0;
  // True when the module has a display test.
  virtual bool test(PageContext&) { return false; }
  // Settings file: 0 or the text to show.
  virtual int32_t load(const std::string&) { return 0; }
  virtual int32_t save(const std::string&) { return 0; }
  // The version field's text after a read.
  virtual uint16_t version() const { return 0; }

  // A command of the module's own controls; false when it is none of them.
  virtual bool command(int32_t id, PageContext& context) = 0;
};

// A titled box with the given controls one below the other: fields and
// lists behind their caption, buttons and boxes on their own.
QGroupBox* controlGroup(QWidget* page, shell::DialogTable& table, const QString& title,
                        std::span<const int32_t> ids, int columns = 1);

// A display module's tab page.
class DisplayPage : public shell::ModulePage {
 public:
  DisplayPage(std::unique_ptr<DisplayPageModel> model, shell::SettingsFile& settings,
              buslink::ModuleLink& link, shell::UserPrompts& prompts);
  ~DisplayPage() override;

  void initialise() override;
  int32_t handleCommand(int32_t dialogKey, int32_t command) override;

  DisplayPageModel& model() { return *model_; }
  shell::DialogTable* table() { return table_.get(); }
  shell::FileDialog& fileDialog() { return fileDialog_; }

 protected:
  QWidget* createWidget(QWidget* parent) override;

 private:
  void run(int32_t command);
  void readModule();
  void writeModule();
  void loadFile();
  void saveFile();

  std::unique_ptr<DisplayPageModel> model_;
  shell::SettingsFile& settings_;
  buslink::ModuleLink& link_;
  shell::UserPrompts& prompts_;
  shell::FileDialog fileDialog_;
  std::unique_ptr<shell::DialogTable> table_;
  bool initialised_ = false;
};

// The page of display page id `pageId`, or nullptr when it is no display's.
std::unique_ptr<shell::ModulePage> makeDisplayPage(int32_t pageId, shell::SettingsFile& settings,
                                                   buslink::ModuleLink& link,
                                                   shell::UserPrompts& prompts);

}  // namespace displays
