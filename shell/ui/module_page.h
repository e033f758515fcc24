#pragma once

#include <QPointer>
#include <QString>
#include <cstdint>

class QWidget;

namespace shell {

class TabHostWindow;

// One page of the tab host. The page object lives for the whole run; its
// widget is made on the first visit and then kept, so the fields keep what
// the user typed while other tabs are shown.
class ModulePage {
 public:
  explicit ModulePage(int32_t pageId);
  virtual ~ModulePage();
  ModulePage(const ModulePage&) = delete;
  ModulePage& operator=(const ModulePage&) = delete;

  int32_t pageId() const { return pageId_; }
  QString caption() const;

  // Once at start-up, before the tabs exist: the page's settings keys and
  // file dialogs.
  virtual void initialise() {}
  // First call: creates the page widget inside the tab's frame; later calls
  // only show it.
  virtual void show();
  // Commands of the page's own widget (dialogKey 0) and of the sub-dialog
  // open under dialogKey. 0 = handled, anything else = not handled.
  virtual int32_t handleCommand(int32_t dialogKey, int32_t command);

  // The widget that stands in the tab; empty until the page is first shown.
  QWidget* frame();
  // nullptr until the first show.
  QWidget* widget() const { return widget_; }
  bool created() const { return widget_ != nullptr; }

  void attach(TabHostWindow* host) { host_ = host; }
  TabHostWindow* host() const { return host_; }

 protected:
  // Builds the page's controls. The default is an empty page: a module whose
  // page is not built yet shows only its caption.
  virtual QWidget* createWidget(QWidget* parent);

 private:
  int32_t pageId_;
  TabHostWindow* host_ = nullptr;
  QPointer<QWidget> frame_;
  QPointer<QWidget> widget_;
};

}  // namespace shell
