#include "shell/ui/main_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "link/module_link.h"
#include "shell/page_registry.h"
#include "shell/settings_file.h"
#include "shell/ui/module_page.h"
#include "shell/ui/qt_text.h"
#include "shell/ui/tab_host_window.h"
#include "texts/text_ids.h"

namespace shell {

int32_t comPortSetting(SettingsFile& settings) {
  const int32_t port = settings.getInt("ComPort", 1);
  return port >= 1 && port <= 99 ? port : 1;
}

MainWindow::MainWindow(SettingsFile& settings, buslink::ModuleLink& link,
                       const std::vector<ModulePage*>& pages, QWidget* parent)
    : QWidget(parent), settings_(settings), link_(link) {
  setWindowTitle(qtText(texts::kTextWindowTitle));
  tabHost_ = new TabHostWindow(settings, pages, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tabHost_);
}

void MainWindow::start() {
  link_.setPortNumber(comPortSetting(settings_));
  for (int32_t id : initialiseOrder()) tabHost_->page(id)->initialise();
  tabHost_->buildPageList();
  // The client area is exactly the tab host; no sizing frame.
  setFixedSize(tabHost_->size());
}

void MainWindow::placeOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  setGeometry(
      QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
}

}  // namespace shell
