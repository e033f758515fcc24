#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <thread>

#include "shell/ui/qt_controls.h"
#include "shell/ui/qt_prompts.h"
#include "shell/ui/qt_text.h"
#include "shell/ui/small_wait_window.h"
#include "shell/ui/text_input_dialog.h"
#include "shell/ui/wait_window.h"
#include "tests/shell/ui/shell_ui_support.h"

namespace {

using guitest::Shell;

// A shell whose prompts are the real dialogs.
struct QtShell {
  QtShell() : prompts(*s.link) {
    prompts.setHost(&s.host());
    s.start();
  }
  ~QtShell() { prompts.setHost(nullptr); }
  Shell s;
  shell::QtPrompts prompts;
};

int barValue(shell::QtPrompts& p) {
  return p.waitWindow()->bar()->value();
}

TEST(WaitWindow, BarAdvancesOncePerFrameSent) {
  QtShell q;
  buslink::ModuleLink& link = *q.s.link;
  ASSERT_EQ(link.setPortNumber(2), 0);  // the in-process bus's port
  q.prompts.openWaitWindow(10, 8037);
  shell::WaitWindow* wait = q.prompts.waitWindow();
  ASSERT_NE(wait, nullptr);
  EXPECT_TRUE(wait->isVisible());
  EXPECT_EQ(wait->windowTitle(), QStringLiteral("Tunvexa"));
  EXPECT_EQ(wait->label()->text(), shell::qtText(8037));
  EXPECT_EQ(shell::controlId(wait->label()), 410);
  EXPECT_EQ(wait->bar()->minimum(), 0);
  EXPECT_EQ(wait->bar()->maximum(), 10);
  EXPECT_EQ(barValue(q.prompts), 0);

  ASSERT_EQ(link.selectModule(0xE0), 0);  // opens and listens, sends nothing
  EXPECT_EQ(barValue(q.prompts), 0);
  uint16_t version = 0;
  ASSERT_EQ(link.readFirmwareVersion(version), 0);
  EXPECT_EQ(barValue(q.prompts), 1);
  uint16_t word = 0;
  ASSERT_EQ(link.readWord(0x10, word), 0);  // two frames
  EXPECT_EQ(barValue(q.prompts), 3);
  // A module that does not answer still costs the frame that was sent.
  ASSERT_EQ(link.selectModule(0x90), 0);
  EXPECT_NE(link.readFirmwareVersion(version), 0);
  EXPECT_EQ(barValue(q.prompts), 4);

  q.prompts.closeWaitWindow();
  EXPECT_EQ(q.prompts.waitWindow(), nullptr);
  // Detached: frames after the close step nothing (and do not crash).
  EXPECT_EQ(link.selectModule(0xE0), 0);
  EXPECT_EQ(link.readFirmwareVersion(version), 0);
  link.close();

  q.prompts.openWaitWindow(3, 8037);
  EXPECT_EQ(barValue(q.prompts), 0);
  q.prompts.closeWaitWindow();
}

TEST(WaitWindow, WorkerThreadsStepThroughTheEventLoop) {
  QtShell q;
  q.prompts.openWaitWindow(100, 8037);
  std::thread worker([&] {
    for (int i = 0; i < 7; ++i) q.prompts.stepWaitWindow();
  });
  worker.join();
  // The steps were posted, not made on the worker.
  EXPECT_EQ(barValue(q.prompts), 0);
  EXPECT_TRUE(uitest::waitFor([&] { return barValue(q.prompts) == 7; }, 2000));
  q.prompts.closeWaitWindow();
  // A step posted after the close finds no window.
  std::thread late([&] { q.prompts.stepWaitWindow(); });
  late.join();
  QCoreApplication::processEvents();
  EXPECT_EQ(q.prompts.waitWindow(), nullptr);
}

TEST(WaitWindow, OnlyOneAtATimeAndEscapeDoesNotCloseIt) {
  QtShell q;
  q.prompts.openWaitWindow(5, 8037);
  QPointer<shell::WaitWindow> first = q.prompts.waitWindow();
  QTest::keyClick(first, Qt::Key_Escape);
  EXPECT_TRUE(first->isVisible());
  q.prompts.openWaitWindow(8, 8037);
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(q.prompts.waitWindow()->bar()->maximum(), 8);
  q.prompts.closeWaitWindow();
}

TEST(SmallWaitWindow, SetsTheDialogKeyWhileOpen) {
  QtShell q;
  shell::SmallWaitWindow small;
  small.open(q.s.host(), 8037);
  ASSERT_TRUE(small.isOpen());
  EXPECT_EQ(q.s.host().dialogKey(), 184);
  EXPECT_EQ(small.dialog()->windowTitle(), QStringLiteral("Tunvexa"));
  auto* text = qobject_cast<QLabel*>(shell::findControl(small.dialog(), 411));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text(), shell::qtText(8037));
  QDialog* dialog = small.dialog();
  small.open(q.s.host(), 8037);  // already open: nothing new
  EXPECT_EQ(small.dialog(), dialog);
  small.close();
  EXPECT_FALSE(small.isOpen());
  EXPECT_EQ(q.s.host().dialogKey(), 0);
}

QLineEdit* textEdit(QWidget* dialog) {
  return qobject_cast<QLineEdit*>(shell::findControl(dialog, shell::TextInputDialog::kEditControl));
}

TEST(AskText, SizeEightTakesSevenCharacters) {
  QtShell q;
  int32_t keyInside = 0;
  QString prompt;
  uitest::onNextModal([&](QWidget* dialog) {
    keyInside = q.s.host().dialogKey();
    prompt = qobject_cast<QLabel*>(shell::findControl(dialog, 411))->text();
    QLineEdit* edit = textEdit(dialog);
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("ABCDEFGHIJ"));
    QTest::mouseClick(qobject_cast<QPushButton*>(shell::findControl(dialog, 1)), Qt::LeftButton);
  });
  std::string text = "old";
  EXPECT_TRUE(q.prompts.askText(8037, text, 8));
  EXPECT_EQ(text, "ABCDEFG");
  EXPECT_EQ(keyInside, 500);
  EXPECT_EQ(prompt, shell::qtText(8037));
  EXPECT_EQ(q.s.host().dialogKey(), 0);
}

TEST(AskText, StartsWithTheTextAndEscapeLeavesIt) {
  QtShell q;
  QString shown;
  uitest::onNextModal([&](QWidget* dialog) {
    shown = textEdit(dialog)->text();
    textEdit(dialog)->setText(QStringLiteral("changed"));
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  std::string text = "Zündung";
  EXPECT_FALSE(q.prompts.askText(8037, text, 100));
  EXPECT_EQ(shown, QStringLiteral("Zündung"));
  EXPECT_EQ(text, "Zündung");
}

TEST(AskText, EmptyVariantStartsEmptyAndKeepsUmlauts) {
  QtShell q;
  QString shown = QStringLiteral("-");
  uitest::onNextModal([&](QWidget* dialog) {
    shown = textEdit(dialog)->text();
    QTest::keyClicks(textEdit(dialog), QStringLiteral("Öl 7"));
    QTest::keyClick(dialog, Qt::Key_Return);
  });
  std::string text = "1234567";
  EXPECT_TRUE(shell::askTextEmpty(q.prompts, 8037, text, 8));
  EXPECT_EQ(shown, QString());
  EXPECT_EQ(text, "Öl 7");
}

struct BoxSeen {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::Warning;
  QMessageBox::StandardButtons buttons;
  QWidget* parent = nullptr;
};

void answerBox(BoxSeen& seen, QMessageBox::StandardButton answer) {
  uitest::onNextModal([&seen, answer](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
            box->parentWidget()};
    box->button(answer)->click();
  });
}

TEST(Messages, BoxesOnTheTabHostTitledTunvexaWithoutIcon) {
  QtShell q;
  BoxSeen seen;
  answerBox(seen, QMessageBox::Ok);
  q.prompts.showMessage(8037);
  EXPECT_EQ(seen.title, QStringLiteral("Tunvexa"));
  EXPECT_EQ(seen.text, QStringLiteral("Keinen freien Com-Port gefunden"));
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(seen.parent, &q.s.host());

  answerBox(seen, QMessageBox::Ok);
  q.prompts.showMessage(1);  // no such text: an empty message
  EXPECT_EQ(seen.text, QString());

  answerBox(seen, QMessageBox::Ok);
  q.prompts.showNumber(-42);
  EXPECT_EQ(seen.text, QStringLiteral("-42"));

  answerBox(seen, QMessageBox::Yes);
  EXPECT_TRUE(q.prompts.askYesNo(8037));
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  answerBox(seen, QMessageBox::No);
  EXPECT_FALSE(q.prompts.askYesNo(8037));
}

}  // namespace
