#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <thread>
#include <vector>

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

// Counts the paints of the wait window's text and of the main window behind
// it, from before the wait window exists.
struct Paints : QObject {
  explicit Paints(QWidget* main) : main_(main) { qApp->installEventFilter(this); }
  ~Paints() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() != QEvent::Paint) return false;
    auto* w = qobject_cast<QWidget*>(o);
    if (w == nullptr) return false;
    if (w == main_) ++main;
    if (dynamic_cast<shell::WaitWindow*>(w->window()) != nullptr &&
        shell::controlId(w) == shell::WaitWindow::kTextControl) {
      ++text;
    }
    return false;
  }
  int text = 0;
  int main = 0;

 private:
  QWidget* main_;
};

TEST(WaitWindow, PaintsWhileTheOperationHoldsTheThread) {
  QtShell q;
  buslink::ModuleLink& link = *q.s.link;
  ASSERT_EQ(link.setPortNumber(2), 0);
  // A page timer that is due throughout: it must not run between frames,
  // where it could send frames of its own into the operation's sequence.
  int timerRuns = 0;
  QTimer pageTimer;
  QObject::connect(&pageTimer, &QTimer::timeout, [&] { ++timerRuns; });
  pageTimer.start(0);

  Paints paints(q.s.window.get());
  q.prompts.openWaitWindow(30, 8037);
  // The operation: frames back to back without returning to the event loop,
  // while the window system keeps asking for paints (here: the main window,
  // uncovered again and again).
  ASSERT_EQ(link.selectModule(0xE0), 0);
  uint16_t version = 0;
  std::vector<int> mainSeen;
  for (int i = 0; i < 10; ++i) {
    q.s.window->update();
    ASSERT_EQ(link.readFirmwareVersion(version), 0);
    mainSeen.push_back(paints.main);
  }
  link.close();
  EXPECT_EQ(timerRuns, 0);
  EXPECT_GT(paints.text, 0) << "the wait window's text never painted";
  for (size_t i = 1; i < mainSeen.size(); ++i) {
    EXPECT_GT(mainSeen[i], mainSeen[i - 1]) << "no paint between frames " << i - 1 << " and " << i;
  }
  q.prompts.closeWaitWindow();
  QCoreApplication::processEvents();
  EXPECT_GT(timerRuns, 0);
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
  QStringList buttonTexts;
};

void answerBox(BoxSeen& seen, QMessageBox::StandardButton answer) {
  uitest::onNextModal([&seen, answer](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    seen = {box->windowTitle(),     box->text(),         box->icon(),
            box->standardButtons(), box->parentWidget(), {}};
    for (QAbstractButton* b : box->buttons()) seen.buttonTexts << b->text().remove('&');
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
  // Qt's own texts are German, as the program loads them at start-up.
  seen.buttonTexts.sort();
  EXPECT_EQ(seen.buttonTexts, QStringList({"Ja", "Nein"}));
  answerBox(seen, QMessageBox::No);
  EXPECT_FALSE(q.prompts.askYesNo(8037));
}

TEST(QtTexts, FileDialogAndCancelSpeakGerman) {
  // The test main loads Qt's German texts the way the program does.
  QFileDialog box(nullptr, QStringLiteral("Tunvexa"));
  box.setAcceptMode(QFileDialog::AcceptOpen);
  box.setOption(QFileDialog::DontUseNativeDialog);
  QStringList texts;
  for (QAbstractButton* b : box.findChildren<QAbstractButton*>()) texts << b->text().remove('&');
  EXPECT_TRUE(texts.contains(QStringLiteral("Öffnen"))) << texts.join('|').toStdString();
  EXPECT_TRUE(texts.contains(QStringLiteral("Abbrechen"))) << texts.join('|').toStdString();
  QStringList labels;
  for (QLabel* l : box.findChildren<QLabel*>()) labels << l->text().remove('&');
  EXPECT_FALSE(labels.contains(QStringLiteral("Look in:"))) << labels.join('|').toStdString();
}

}  // namespace
