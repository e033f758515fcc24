#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "tests/viewers/common/ui/pty_port.h"
#include "tests/viewers/spark/ui/hf_fixture.h"
#include "viewers/common/ui/feinstell.h"
#include "viewers/common/ui/finfo.h"
#include "viewers/common/ui/uc_com.h"
#include "viewers/common/ui/uc_com_list_view.h"
#include "viewers/spark/spark_texts.h"

namespace spark {
namespace {

using spark_ui_test::FunkoraRun;
using viewers_ui_test::PtyPort;

void checkPort(viewers::FEinstell* dialog, const QString& port) {
  QTreeWidget* list = dialog->portList()->list();
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    if (list->topLevelItem(i)->text(0) == port)
      list->topLevelItem(i)->setCheckState(0, Qt::Checked);
  }
}

// Cylinder count and port from the settings dialog, the scale and the
// window's place: all there again at the next start.
TEST(HFSettings, StoredAtCloseAndRestoredAtTheNextStart) {
  PtyPort line(94);
  ASSERT_TRUE(line.ok());
  uitest::TempFolder folder;
  {
    FunkoraRun first(folder.path, "");
    ASSERT_TRUE(first.loaded);
    EXPECT_EQ(first.window.core().cylinderCount(), 4.0);
    uitest::onNextModal([](QWidget* modal) {
      auto* dialog = qobject_cast<viewers::FEinstell*>(modal);
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->cylinderList()->currentText(), QStringLiteral("4 Zylinder"));
      uitest::saveShot(dialog, QStringLiteral("funkora_einstellungen"));
      dialog->cylinderList()->setCurrentIndex(4);  // "6 Zylinder"
      checkPort(dialog, QStringLiteral("COM94"));
      dialog->findChild<QPushButton*>(QStringLiteral("Ok"))->click();
    });
    first.window.openSettings();
    EXPECT_EQ(first.window.core().cylinderCount(), 6.0);
    EXPECT_EQ(first.window.com().GetCOMPort(), "COM94");
    first.window.scaleButton(3)->setChecked(true);
    first.window.move(120, 90);
    first.window.close();
  }
  FunkoraRun second(folder.path, "");
  ASSERT_TRUE(second.loaded);
  EXPECT_EQ(second.window.core().cylinderCount(), 6.0);
  EXPECT_EQ(second.window.com().GetCOMPort(), "COM94");
  EXPECT_EQ(second.window.selectedScale(), 3);
  EXPECT_EQ(second.window.pos(), QPoint(120, 90));
  EXPECT_EQ(second.config.ReadText(kKeyCylinders), "6");
  EXPECT_EQ(second.config.ReadText(kKeyPort), "COM94");
  EXPECT_TRUE(second.messages.shown.empty());
}

TEST(HFSettings, CancelKeepsTheCylinderCount) {
  uitest::TempFolder folder;
  FunkoraRun run(folder.path, "-zyl 5");
  uitest::onNextModal([](QWidget* modal) {
    auto* dialog = qobject_cast<viewers::FEinstell*>(modal);
    ASSERT_NE(dialog, nullptr);
    dialog->cylinderList()->setCurrentIndex(0);
    dialog->findChild<QPushButton*>(QStringLiteral("Abbrechen"))->click();
  });
  run.window.openSettings();
  EXPECT_EQ(run.window.core().cylinderCount(), 5.0);
}

// A stored count of 6, then what the command line says.
TEST(HFSettings, CommandLineOverridesTheStoredValues) {
  PtyPort line(92);
  ASSERT_TRUE(line.ok());
  struct Case {
    const char* commandLine;
    double cylinders;
    const char* port;
  };
  const Case cases[] = {
      {"", 6.0, "COM1"},       {"-zyl 12", 8.0, "COM1"},  {"-zyl 1", 4.0, "COM1"},
      {"-ZYL 3", 3.0, "COM1"}, {"-com 92", 6.0, "COM92"}, {"-com COM92 -zyl 2", 2.0, "COM92"},
      {"-com 0", 6.0, "COM1"},  // no such port number: the former one stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    uitest::TempFolder folder;
    {
      FunkoraRun stored(folder.path, "");
      stored.config.WriteText(kKeyCylinders, "6");
      stored.config.SaveCfg();
    }
    FunkoraRun run(folder.path, c.commandLine);
    ASSERT_TRUE(run.loaded);
    EXPECT_EQ(run.window.core().cylinderCount(), c.cylinders);
    EXPECT_EQ(run.window.com().GetCOMPort(), c.port);
    EXPECT_TRUE(run.messages.shown.empty());
  }
}

TEST(HFSettings, NothingStoredAndNoParameterGivesFourCylinders) {
  uitest::TempFolder folder;
  FunkoraRun run(folder.path, "");
  EXPECT_EQ(run.window.core().cylinderCount(), 4.0);
}

TEST(HFCommandLine, HelpShowsTheParameterListWithoutIcon) {
  uitest::TempFolder folder;
  FunkoraRun run(folder.path, "-h -zyl 6");
  ASSERT_EQ(run.messages.shown.size(), 1u);
  EXPECT_EQ(run.messages.shown[0].first,
            "Commandline-Parameter:\r\n-h -> dieses Fenster\r\n-com x -> COM-Port einstellen");
  EXPECT_EQ(run.messages.shown[0].second, viewers::MessageIcon::kNone);
  EXPECT_EQ(run.window.core().cylinderCount(), 6.0);
}

TEST(HFCommandLine, BadCommandLineIsToldAndNoParameterUsed) {
  uitest::TempFolder folder;
  FunkoraRun run(folder.path, "zyl 6 -zyl 6");
  ASSERT_EQ(run.messages.shown.size(), 1u);
  EXPECT_EQ(run.messages.shown[0].first, "Commandline Parmeter falsch!\r\nzyl 6 -zyl 6 ");
  EXPECT_EQ(run.messages.shown[0].second, viewers::MessageIcon::kError);
  EXPECT_EQ(run.window.core().cylinderCount(), 4.0);
}

TEST(HFMenus, InfoShowsTheProductNameAndVersion) {
  uitest::TempFolder folder;
  FunkoraRun run(folder.path, "");
  run.window.show();
  QString shown;
  uitest::onNextModal([&shown](QWidget* modal) {
    auto* info = qobject_cast<viewers::FInfo*>(modal);
    ASSERT_NE(info, nullptr);
    shown = info->textLabel()->text();
    uitest::saveShot(info, QStringLiteral("funkora_info"));
    info->reject();
  });
  run.window.openInfo();
  EXPECT_TRUE(shown.startsWith(QStringLiteral("Funkora"))) << shown.toStdString();
  EXPECT_TRUE(shown.contains(QStringLiteral("V 1.0.0"))) << shown.toStdString();
  run.window.close();
}

}  // namespace
}  // namespace spark
