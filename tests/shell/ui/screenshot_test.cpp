// Pictures of what a user sees, for review: the main window with each page,
// and the shell's own dialogs. Written into the build tree.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include "shell/page_registry.h"
#include "shell/ui/module_selection_dialog.h"
#include "shell/ui/qt_controls.h"
#include "shell/ui/qt_prompts.h"
#include "shell/ui/text_input_dialog.h"
#include "tests/shell/ui/shell_ui_support.h"

namespace {

TEST(Screenshots, MainWindowWithEachPage) {
  guitest::ShellOptions options;
  options.simPorts = {3, 7};
  options.scenario.faults.injections.push_back({0, 100, {0x3b, 0x01, 0x02, 0x62}});
  guitest::Shell s(options);
  s.settings->set("FensterListe", "131071");
  s.settings->set("ComPort", "7");
  s.start();
  ASSERT_EQ(s.host().tabPageIds().size(), 19u);
  for (int32_t id : s.host().tabPageIds()) {
    ASSERT_TRUE(s.clickTab(id));
    if (id == shell::kPageExtras) {
      // With the port test running and a line received.
      auto* box = qobject_cast<QCheckBox*>(
          shell::findControl(s.extras->widget(), shell::ExtrasPage::kPortTestBox));
      QTest::mouseClick(box, Qt::LeftButton);
      auto* list = qobject_cast<QListWidget*>(
          shell::findControl(s.extras->widget(), shell::ExtrasPage::kReceivedList));
      ASSERT_TRUE(uitest::waitFor([&] { return list->count() > 0; }, 3000));
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(uitest::saveShot(s.window.get(), QStringLiteral("page-%1").arg(id))) << id;
  }
}

TEST(Screenshots, ShellDialogs) {
  guitest::Shell s;
  s.settings->set("FensterListe", std::to_string(1 | 4 | (1 << 9)));
  s.start();
  shell::QtPrompts prompts(*s.link);
  prompts.setHost(&s.host());

  uitest::onNextModal([&](QWidget* first) {
    EXPECT_TRUE(uitest::saveShot(first, QStringLiteral("dialog-187-modulauswahl")));
    uitest::onNestedModal(first, [&](QWidget* more) {
      EXPECT_TRUE(uitest::saveShot(more, QStringLiteral("dialog-502-modulauswahl-weitere")));
      qobject_cast<QDialog*>(more)->reject();
    });
    QTest::mouseClick(qobject_cast<QPushButton*>(shell::findControl(first, shell::kCommandMore)),
                      Qt::LeftButton);
    qobject_cast<QDialog*>(first)->reject();
  });
  ASSERT_TRUE(s.clickTab(shell::kPageExtras));
  QTest::mouseClick(qobject_cast<QPushButton*>(shell::findControl(
                        s.extras->widget(), shell::ExtrasPage::kModuleSelectionButton)),
                    Qt::LeftButton);

  prompts.openWaitWindow(10, 8037);
  for (int i = 0; i < 4; ++i) prompts.stepWaitWindow();
  EXPECT_TRUE(uitest::saveShot(prompts.waitWindow(), QStringLiteral("dialog-178-wait")));
  prompts.closeWaitWindow();

  uitest::onNextModal([&](QWidget* dialog) {
    QTest::keyClicks(
        qobject_cast<QLineEdit*>(shell::findControl(dialog, shell::TextInputDialog::kEditControl)),
        QStringLiteral("1234567"));
    EXPECT_TRUE(uitest::saveShot(dialog, QStringLiteral("dialog-500-text")));
    qobject_cast<QDialog*>(dialog)->reject();
  });
  std::string text;
  prompts.askText(8037, text, 8);
  prompts.setHost(nullptr);
}

}  // namespace
