#include "shell/ui/tab_host_window.h"

#include <QApplication>
#include <QDialog>
#include <QTabWidget>
#include <QVBoxLayout>
#include <stdexcept>

#include "shell/page_registry.h"
#include "shell/settings_file.h"
#include "shell/ui/module_page.h"
#include "shell/ui/module_selection_dialog.h"
#include "shell/ui/qt_arrow_key_filter.h"
#include "shell/ui/qt_controls.h"
#include "shell/ui/qt_dialog_units.h"

namespace shell {

namespace {
constexpr int32_t kTabHostDialog = 131;
constexpr int32_t kTabControl = 174;
}  // namespace

TabHostWindow::TabHostWindow(SettingsFile& settings, const std::vector<ModulePage*>& pages,
                             QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      pages_(kPageCount, nullptr),
      tabs_(new QTabWidget(this)) {
  for (ModulePage* p : pages) {
    if (p == nullptr || findPage(p->pageId()) == nullptr) {
      throw std::invalid_argument("tab host: page outside the registry");
    }
    pages_[static_cast<size_t>(p->pageId() - kFirstPageId)] = p;
  }
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i] == nullptr) throw std::invalid_argument("tab host: a page object is missing");
    pages_[i]->attach(this);
  }
  setControlId(this, kTabHostDialog);
  setControlId(tabs_, kTabControl);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tabs_);
  setFixedSize(dialogUnits(this, 225, 205));
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int) {
    if (!rebuilding_) showPage();
  });
}

TabHostWindow::~TabHostWindow() {
  setArrowKeyMode(false);
  for (ModulePage* p : pages_) p->attach(nullptr);
}

ModulePage* TabHostWindow::page(int32_t pageId) const {
  if (findPage(pageId) == nullptr) return nullptr;
  return pages_[static_cast<size_t>(pageId - kFirstPageId)];
}

void TabHostWindow::buildPageList() {
  rebuilding_ = true;
  while (tabs_->count() > 0) tabs_->removeTab(0);
  tabPageIds_.clear();
  const int32_t mask = settings_.getInt("FensterListe", 1);
  for (int32_t id : pagesForMask(mask)) {
    ModulePage* p = page(id);
    tabs_->addTab(p->frame(), p->caption());
    tabPageIds_.push_back(id);
  }
  rebuilding_ = false;
  showPage(0);
  update();
}

void TabHostWindow::showPage(int index) {
  if (visiblePage_ != nullptr && visiblePage_->widget() != nullptr) visiblePage_->widget()->hide();
  visiblePage_ = nullptr;
  if (index < 0) index = tabs_->currentIndex();
  if (index < 0 || static_cast<size_t>(index) >= tabPageIds_.size()) return;
  if (tabs_->currentIndex() != index) {
    rebuilding_ = true;  // the selection follows the call, not the other way round
    tabs_->setCurrentIndex(index);
    rebuilding_ = false;
  }
  currentPageId_ = tabPageIds_[static_cast<size_t>(index)];
  ModulePage* p = page(currentPageId_);
  visiblePage_ = p;
  p->show();
  update();
}

int TabHostWindow::runSubDialog(int32_t key, QDialog& dialog) {
  const int32_t saved = dialogKey_;
  dialogKey_ = key;
  const int result = dialog.exec();
  dialogKey_ = saved;
  return result;
}

int32_t TabHostWindow::sendCommand(int32_t command) {
  if (dialogKey_ != 0) {
    const int32_t owner = dialogKeyOwner(dialogKey_);
    if (owner == 0) return 1;
    if (owner == kOwnerTabHost) return handleShellCommand(dialogKey_, command);
    ModulePage* p = page(owner);
    return p != nullptr ? p->handleCommand(dialogKey_, command) : 1;
  }
  // The Info page has no handler.
  if (currentPageId_ == 0 || currentPageId_ == kPageInfo) return 1;
  return page(currentPageId_)->handleCommand(0, command);
}

int32_t TabHostWindow::handleShellCommand(int32_t key, int32_t command) {
  // The module selection belongs to the Extras page; the wait windows and the
  // text input have no commands of their own for a page.
  if (key == kKeyModuleSelection || key == kKeyModuleSelectionMore) {
    return page(kPageExtras)->handleCommand(key, command);
  }
  return 1;
}

void TabHostWindow::setArrowKeyMode(bool on) {
  if (on == arrowKeyMode_) return;
  arrowKeyMode_ = on;
  if (on) {
    arrowKeys_ =
        std::make_unique<ArrowKeyFilter>([this](int32_t command) { sendCommand(command); });
    qApp->installEventFilter(arrowKeys_.get());
  } else {
    qApp->removeEventFilter(arrowKeys_.get());
    arrowKeys_.reset();
  }
}

}  // namespace shell
