#include "tests/support/ui_test_support.h"

#include <stdlib.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <filesystem>

namespace fs = std::filesystem;

namespace uitest {

namespace {

std::string makeTempFolder() {
  std::string pattern = (fs::temp_directory_path() / "tunvexa-ui-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

std::string g_configHome;
QString g_screenshotFolder;

void removeConfigHome() {
  std::error_code ec;
  if (!g_configHome.empty()) fs::remove_all(g_configHome, ec);
}

void pollForModal(QWidget* outer, std::function<void(QWidget*)> action, int triesLeft) {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal != outer && modal->isVisible()) {
    action(modal);
    return;
  }
  if (triesLeft == 0) return;
  QTimer::singleShot(10, [outer, action = std::move(action), triesLeft]() mutable {
    pollForModal(outer, std::move(action), triesLeft - 1);
  });
}

}  // namespace

void useTemporaryConfigHome() {
  g_configHome = makeTempFolder();
  setenv("XDG_CONFIG_HOME", g_configHome.c_str(), 1);
  // Qt wants a private runtime folder; mkdtemp made this one 0700.
  if (getenv("XDG_RUNTIME_DIR") == nullptr) setenv("XDG_RUNTIME_DIR", g_configHome.c_str(), 1);
  std::atexit(removeConfigHome);
}

std::string configHome() {
  return g_configHome;
}

std::string portsFolder() {
  return g_configHome + "/ZEB/ports";
}

TempFolder::TempFolder() : path(makeTempFolder()) {}

TempFolder::~TempFolder() {
  std::error_code ec;
  if (!path.empty()) fs::remove_all(path, ec);
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return true;
}

void onNextModal(std::function<void(QWidget*)> action) {
  onNestedModal(nullptr, std::move(action));
}

void onNestedModal(QWidget* outer, std::function<void(QWidget*)> action) {
  // About ten seconds of polling, more than any dialog takes to come up.
  QTimer::singleShot(0, [outer, action = std::move(action)]() mutable {
    pollForModal(outer, std::move(action), 1000);
  });
}

void activate(QWidget* window) {
  window->show();
  window->activateWindow();
  (void)QTest::qWaitForWindowActive(window, 2000);
}

void leave(QLineEdit* field, QWidget* next) {
  field->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  next->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
}

void typeAndLeave(QLineEdit* field, const QString& text, QWidget* next) {
  field->setFocus(Qt::TabFocusReason);
  field->setText(text);
  leave(field, next);
}

void setText(const QWidget* dialog, int32_t id, const QString& text) {
  control<QLineEdit>(dialog, id)->setText(text);
}

QString text(const QWidget* dialog, int32_t id) {
  return control<QLineEdit>(dialog, id)->text();
}

void click(const QWidget* dialog, int32_t id) {
  control<QAbstractButton>(dialog, id)->click();
}

void setScreenshotFolder(const QString& folder) {
  g_screenshotFolder = folder;
}

bool saveShot(QWidget* widget, const QString& name) {
  if (g_screenshotFolder.isEmpty()) return false;
  QDir().mkpath(g_screenshotFolder);
  QCoreApplication::processEvents();
  const QPixmap picture = widget->grab();
  return !picture.isNull() &&
         picture.save(g_screenshotFolder + QStringLiteral("/") + name + QStringLiteral(".png"));
}

}  // namespace uitest
