#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class QDialog;
class QTabWidget;

namespace shell {

class ArrowKeyFilter;
class ModulePage;
class SettingsFile;

// The tab host: one tab per shown page, the routing of commands to the page
// that owns them, the dialog key of the open sub-dialog and the arrow-key
// mode.
class TabHostWindow : public QWidget {
 public:
  // `pages` holds one object for each page id 201-219; they outlive the host.
  TabHostWindow(SettingsFile& settings, const std::vector<ModulePage*>& pages,
                QWidget* parent = nullptr);
  ~TabHostWindow() override;

  // Removes all tabs, adds one per page chosen in FensterListe (Extras and
  // Info always) in id order, then shows the first.
  void buildPageList();
  // Shows the page at tab index `index` (0-based); -1 = the tab bar's
  // current selection.
  void showPage(int index = -1);

  int32_t currentPageId() const { return currentPageId_; }
  ModulePage* visiblePage() const { return visiblePage_; }
  const std::vector<int32_t>& tabPageIds() const { return tabPageIds_; }
  ModulePage* page(int32_t pageId) const;
  QTabWidget* tabs() const { return tabs_; }

  // Sub-dialogs. The key names the open sub-dialog (0 = none).
  int32_t dialogKey() const { return dialogKey_; }
  void setDialogKey(int32_t key) { dialogKey_ = key; }
  // Runs `dialog` modally under `key` and restores the previous key.
  int runSubDialog(int32_t key, QDialog& dialog);

  // Hands a command to the page that owns it: the owner of the open
  // sub-dialog's key, else the current page. 0 = handled.
  int32_t sendCommand(int32_t command);

  // While on, cursor left/right anywhere in the program become the commands
  // 7908/7909 before focus navigation sees them.
  void setArrowKeyMode(bool on);
  bool arrowKeyMode() const { return arrowKeyMode_; }

 private:
  int32_t handleShellCommand(int32_t key, int32_t command);

  SettingsFile& settings_;
  std::vector<ModulePage*> pages_;  // index = page id - 201
  QTabWidget* tabs_;
  std::vector<int32_t> tabPageIds_;
  int32_t currentPageId_ = 0;
  ModulePage* visiblePage_ = nullptr;
  int32_t dialogKey_ = 0;
  bool arrowKeyMode_ = false;
  bool rebuilding_ = false;
  std::unique_ptr<ArrowKeyFilter> arrowKeys_;
};

}  // namespace shell
