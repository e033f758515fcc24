// The ignition's GUI tests run without a display: every window is real, only
// drawn offscreen. Settings live in temporary folders.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QString>

#include "tests/ignition_gui/ignition_gui_support.h"

namespace {

QtMessageHandler g_defaultHandler = nullptr;

// The offscreen platform says for every window that it cannot size it from
// hints; that says nothing about the program.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QStringLiteral("propagateSizeHints"))) return;
  g_defaultHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  g_defaultHandler = qInstallMessageHandler(quietHandler);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  igntest::useTemporaryConfigHome();
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
