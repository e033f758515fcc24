// The GUI tests run without a display; every window is real, only drawn
// offscreen. The user's folders are never touched: the settings files live in
// temporary folders and the COM links in one of them.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <cstdio>

#include "shell/ui/qt_translations.h"
#include "tests/support/ui_test_support.h"

namespace {

QtMessageHandler g_defaultHandler = nullptr;

// The offscreen platform says for every window that it cannot size it from
// hints; that says nothing about the program.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QStringLiteral("propagateSizeHints"))) return;
  g_defaultHandler(type, context, message);
}

// A dialog that a test expected to close, but which stays up, would hold its
// exec() until CTest's time-out; close it after a while the program never
// needs and fail the test that was running.
void watchModals() {
  static QPointer<QWidget> seen;
  static QElapsedTimer since;
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != seen.data()) {
      seen = modal;
      since.start();
      return;
    }
    if (modal == nullptr || since.elapsed() < 20000) return;
    ADD_FAILURE() << "the dialog \"" << modal->windowTitle().toStdString()
                  << "\" stayed open for 20 s; closed";
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  });
  timer->start(500);
}

}  // namespace

int main(int argc, char** argv) {
  g_defaultHandler = qInstallMessageHandler(quietHandler);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  uitest::useTemporaryConfigHome();
  QApplication app(argc, argv);
  // Qt's own German texts, as the program loads them.
  if (!shell::installGermanQtTexts(app)) {
    std::fputs("Qt's German translations are missing (qt6-translations-l10n)\n", stderr);
    return 1;
  }
  uitest::setScreenshotFolder(QStringLiteral(TUNVEXA_SCREENSHOT_DIR));
  testing::InitGoogleTest(&argc, argv);
  watchModals();
  return RUN_ALL_TESTS();
}
