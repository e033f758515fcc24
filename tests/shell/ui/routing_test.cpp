#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <utility>
#include <vector>

#include "shell/page_registry.h"
#include "tests/shell/ui/shell_ui_support.h"

namespace {

using Command = std::pair<int32_t, int32_t>;  // dialog key, command

// Records what reaches its handler; its widget holds one edit field.
class RecordingPage : public shell::ModulePage {
 public:
  using ModulePage::ModulePage;
  std::vector<Command> received;
  QLineEdit* field = nullptr;

  int32_t handleCommand(int32_t dialogKey, int32_t command) override {
    received.emplace_back(dialogKey, command);
    return 0;
  }

 protected:
  QWidget* createWidget(QWidget* parent) override {
    auto* w = new QWidget(parent);
    field = new QLineEdit(w);
    return w;
  }
};

guitest::ShellOptions recordingPages() {
  guitest::ShellOptions options;
  options.modulePage = [](int32_t id) -> std::unique_ptr<shell::ModulePage> {
    return std::make_unique<RecordingPage>(id);
  };
  return options;
}

RecordingPage& recorder(guitest::Shell& s, int32_t id) {
  return *static_cast<RecordingPage*>(s.host().page(id));
}

TEST(ArrowKeyMode, CursorKeysBecomeCommandsForTheCurrentPage) {
  guitest::Shell s(recordingPages());
  s.settings->set("FensterListe", "1");
  s.start();
  RecordingPage& ignition = recorder(s, shell::kPageIgnition);
  ASSERT_NE(ignition.field, nullptr);
  ignition.field->setText(QStringLiteral("1234"));
  ignition.field->setCursorPosition(2);
  s.window->activateWindow();
  ignition.field->setFocus();

  // Off: the keys are the edit field's.
  QTest::keyClick(ignition.field, Qt::Key_Left);
  EXPECT_TRUE(ignition.received.empty());
  EXPECT_EQ(ignition.field->cursorPosition(), 1);

  s.host().setArrowKeyMode(true);
  QTest::keyClick(ignition.field, Qt::Key_Left);
  QTest::keyClick(ignition.field, Qt::Key_Right);
  QTest::keyClick(static_cast<QWidget*>(s.host().tabs()),
                  Qt::Key_Right);  // anywhere in the program
  EXPECT_EQ(ignition.received, (std::vector<Command>{{0, 7908}, {0, 7909}, {0, 7909}}));
  EXPECT_EQ(ignition.field->cursorPosition(), 1) << "the field saw a translated key";

  // Only plain left and right are translated.
  ignition.received.clear();
  QTest::keyClick(ignition.field, Qt::Key_Up);
  QTest::keyClick(ignition.field, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_TRUE(ignition.received.empty());
  EXPECT_EQ(ignition.field->cursorPosition(), 0);

  s.host().setArrowKeyMode(false);
  QTest::keyClick(ignition.field, Qt::Key_Right);
  EXPECT_TRUE(ignition.received.empty());
  EXPECT_EQ(ignition.field->cursorPosition(), 1);
}

TEST(SubDialogs, CommandsReachTheOwnerOfTheKeyAndTheKeyIsRestored) {
  guitest::Shell s(recordingPages());
  s.settings->set("FensterListe", "5");  // Zündung, Gang-Anzeige
  s.start();
  ASSERT_TRUE(s.clickTab(shell::kPageExtras));
  s.host().setArrowKeyMode(true);

  QDialog gearDialog(&s.host());
  auto* gearField = new QLineEdit(&gearDialog);
  QDialog ignitionDialog(&gearDialog);
  int32_t keyInside = -1;
  int32_t keyInsideNested = -1;
  uitest::onNextModal([&](QWidget* modal) {
    keyInside = s.host().dialogKey();
    QTest::keyClick(gearField, Qt::Key_Left);
    uitest::onNestedModal(modal, [&](QWidget* nested) {
      keyInsideNested = s.host().dialogKey();
      QTest::keyClick(nested, Qt::Key_Right);
      static_cast<QDialog*>(nested)->accept();
    });
    s.host().runSubDialog(150, ignitionDialog);  // an ignition dialog from within the gear's
    QTest::keyClick(gearField, Qt::Key_Right);
    static_cast<QDialog*>(modal)->reject();
  });
  EXPECT_EQ(s.host().runSubDialog(133, gearDialog), QDialog::Rejected);

  EXPECT_EQ(keyInside, 133);
  EXPECT_EQ(keyInsideNested, 150);
  EXPECT_EQ(s.host().dialogKey(), 0);
  EXPECT_EQ(recorder(s, 203).received, (std::vector<Command>{{133, 7908}, {133, 7909}}));
  EXPECT_EQ(recorder(s, 201).received, (std::vector<Command>{{150, 7909}}));
  s.host().setArrowKeyMode(false);
}

TEST(SubDialogs, KeysWithoutOwnerAndTheInfoPageHandleNothing) {
  guitest::Shell s(recordingPages());
  s.settings->set("FensterListe", "131071");
  s.start();
  EXPECT_EQ(s.host().sendCommand(7908), 0);  // the ignition page is current
  ASSERT_TRUE(s.clickTab(shell::kPageInfo));
  EXPECT_NE(s.host().sendCommand(7908), 0);
  s.host().setDialogKey(7218);  // a page template, not a sub-dialog key
  EXPECT_NE(s.host().sendCommand(7908), 0);
  s.host().setDialogKey(178);  // the wait window has no commands
  EXPECT_NE(s.host().sendCommand(1), 0);
  s.host().setDialogKey(0);
  for (int32_t id = 201; id <= 217; ++id) {
    const auto& got = recorder(s, id).received;
    EXPECT_EQ(got.size(), id == 201 ? 1u : 0u) << id;
  }
}

TEST(Timers, HiddenExtrasPageStopsItsPortTest) {
  guitest::Shell s;
  s.settings->set("FensterListe", "0");
  s.start();
  ASSERT_EQ(s.host().currentPageId(), shell::kPageExtras);
  s.extras->startPortTest();
  ASSERT_TRUE(s.extras->portTestRunning());
  ASSERT_TRUE(s.clickTab(shell::kPageInfo));
  // The next tick finds the page hidden and stops the timer.
  EXPECT_TRUE(uitest::waitFor([&] { return !s.extras->portTestRunning(); }, 3000));
}

}  // namespace
