#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "shell/page_registry.h"
#include "shell/ui/module_selection_dialog.h"
#include "shell/ui/qt_controls.h"
#include "tests/shell/ui/shell_ui_support.h"

namespace {

using guitest::Shell;
using guitest::ShellOptions;
using shell::ExtrasPage;

QStringList entries(QComboBox* box) {
  QStringList list;
  for (int i = 0; i < box->count(); ++i) list << box->itemText(i);
  return list;
}

QStringList lines(QListWidget* list) {
  QStringList all;
  for (int i = 0; i < list->count(); ++i) all << list->item(i)->text();
  return all;
}

template <typename T>
T* control(QWidget* dialog, int32_t id) {
  return qobject_cast<T*>(shell::findControl(dialog, id));
}

QComboBox* portList(Shell& s) {
  return control<QComboBox>(s.extras->widget(), ExtrasPage::kPortList);
}
QListWidget* receivedList(Shell& s) {
  return control<QListWidget>(s.extras->widget(), ExtrasPage::kReceivedList);
}
QCheckBox* portTestBox(Shell& s) {
  return control<QCheckBox>(s.extras->widget(), ExtrasPage::kPortTestBox);
}

// --- against tunvexa-sim on pseudo-terminals ------------------------------

class ExtrasWithSimulators : public testing::Test {
 protected:
  void TearDown() override { guitest::removePortLinks(); }
};

TEST_F(ExtrasWithSimulators, ScanListsFreePortsAndSelectsComPort) {
  guitest::hideMachinePorts({3, 7});
  guitest::SimProgram com3(3), com7(7);
  ASSERT_TRUE(com3.ready()) << com3.output().toStdString();
  ASSERT_TRUE(com7.ready()) << com7.output().toStdString();

  ShellOptions options;
  options.realPorts = true;
  Shell s(options);
  s.settings->set("ComPort", "7");
  s.settings->set("FensterListe", "0");  // Extras is the first page
  s.start();

  QComboBox* ports = portList(s);
  ASSERT_NE(ports, nullptr);
  EXPECT_EQ(entries(ports), QStringList({"COM3", "COM7"}));
  EXPECT_EQ(ports->currentText(), QStringLiteral("COM7"));
  EXPECT_EQ(s.link->portNumber(), 7) << "the remembered port, closed again";
  EXPECT_TRUE(s.prompts.messages.empty());

  // A port in use by another program is not offered.
  buslink::ModuleLink other;
  ASSERT_EQ(other.setPortNumber(3), 0);
  ASSERT_EQ(other.openPort(), 0);
  ASSERT_TRUE(s.clickTab(shell::kPageInfo));
  ASSERT_TRUE(s.clickTab(shell::kPageExtras));
  EXPECT_EQ(entries(ports), QStringList({"COM7"}));
  other.close();
}

TEST_F(ExtrasWithSimulators, PortTestListsTheBytesOnTheLine) {
  guitest::hideMachinePorts({4});
  // The simulator sends a few bytes unasked once a second.
  std::string scenario;
  for (int ms = 1000; ms <= 9000; ms += 1000)
    scenario += "inject at-ms " + std::to_string(ms) + " 0x12 0xab 0x07\n";
  guitest::SimProgram com4(4, scenario);
  ASSERT_TRUE(com4.ready()) << com4.output().toStdString();

  ShellOptions options;
  options.realPorts = true;
  Shell s(options);
  s.settings->set("ComPort", "4");
  s.settings->set("FensterListe", "0");
  s.start();
  ASSERT_EQ(portList(s)->currentText(), QStringLiteral("COM4"));

  QTest::mouseClick(portTestBox(s), Qt::LeftButton);
  ASSERT_TRUE(portTestBox(s)->isChecked());
  EXPECT_TRUE(s.extras->portTestRunning());
  EXPECT_EQ(s.link->portNumber(), 4 + 128) << "the test holds the port open";
  ASSERT_TRUE(uitest::waitFor([&] { return receivedList(s)->count() >= 2; }, 12000))
      << lines(receivedList(s)).join('|').toStdString();
  for (const QString& line : lines(receivedList(s))) EXPECT_EQ(line, QStringLiteral("12 ab 07 "));

  QTest::mouseClick(portTestBox(s), Qt::LeftButton);
  EXPECT_FALSE(s.extras->portTestRunning());
  EXPECT_EQ(receivedList(s)->count(), 0);
  EXPECT_EQ(s.link->portNumber(), 4);
}

TEST_F(ExtrasWithSimulators, NoFreePortIsReported) {
  guitest::hideMachinePorts({});
  ShellOptions options;
  options.realPorts = true;
  Shell s(options);
  s.settings->set("ComPort", "5");
  s.settings->set("FensterListe", "0");
  s.start();
  EXPECT_EQ(portList(s)->count(), 0);
  EXPECT_EQ(s.prompts.messages, std::vector<int32_t>{8037});
  EXPECT_EQ(s.link->portNumber(), 5);
}

// --- on the in-process bus ---------------------------------------------------

TEST(Extras, RememberedPortThatIsNotFreeLeavesNothingSelected) {
  ShellOptions options;
  options.simPorts = {2, 9};
  Shell s(options);
  s.settings->set("ComPort", "5");
  s.settings->set("FensterListe", "0");
  s.start();
  EXPECT_EQ(entries(portList(s)), QStringList({"COM2", "COM9"}));
  EXPECT_EQ(portList(s)->currentIndex(), -1);
  EXPECT_EQ(s.link->portNumber(), 5);
}

TEST(Extras, ChoosingAPortStopsTheTestAndStoresComPort) {
  ShellOptions options;
  options.simPorts = {3, 7};
  Shell s(options);
  s.settings->set("ComPort", "7");
  s.settings->set("FensterListe", "0");
  s.start();
  QTest::mouseClick(portTestBox(s), Qt::LeftButton);
  ASSERT_TRUE(s.extras->portTestRunning());
  ASSERT_EQ(s.link->portNumber(), 7 + 128);

  QComboBox* ports = portList(s);
  // The user opens the drop-down and picks COM3.
  ports->showPopup();
  ASSERT_TRUE(uitest::waitFor([&] { return ports->view()->isVisible(); }, 2000));
  ports->setCurrentIndex(0);
  ports->hidePopup();
  ASSERT_TRUE(uitest::waitFor([&] { return !s.extras->portTestRunning(); }, 2000));
  EXPECT_FALSE(s.extras->portTestRunning());
  EXPECT_FALSE(portTestBox(s)->isChecked());
  EXPECT_EQ(s.link->portNumber(), 3);
  EXPECT_EQ(s.settings->get("ComPort", "-"), "3");
  // Later operations use it.
  EXPECT_EQ(s.link->openPort(), 0);
  EXPECT_EQ(s.device->portNumber(), 3);
  s.link->close();
}

TEST(Extras, ClosingTheListWithoutAChoiceStopsTheTestAndTakesThePortAgain) {
  ShellOptions options;
  options.simPorts = {3, 7};
  Shell s(options);
  s.settings->set("ComPort", "7");
  s.settings->set("FensterListe", "0");
  s.start();
  QComboBox* ports = portList(s);
  struct Close {
    const char* how;
    std::function<void()> close;
  };
  const Close ways[] = {
      {"Escape", [&] { QTest::keyClick(ports->view(), Qt::Key_Escape); }},
      {"a click elsewhere", [&] { ports->hidePopup(); }},
  };
  for (const Close& way : ways) {
    QTest::mouseClick(portTestBox(s), Qt::LeftButton);
    ASSERT_TRUE(s.extras->portTestRunning()) << way.how;
    s.settings->set("ComPort", "1");  // so that taking the port again shows
    ports->showPopup();
    ASSERT_TRUE(uitest::waitFor([&] { return ports->view()->isVisible(); }, 2000)) << way.how;
    way.close();
    ASSERT_TRUE(uitest::waitFor([&] { return !s.extras->portTestRunning(); }, 2000)) << way.how;
    EXPECT_FALSE(portTestBox(s)->isChecked()) << way.how;
    EXPECT_EQ(s.link->portNumber(), 7) << way.how;
    EXPECT_EQ(s.settings->get("ComPort", "-"), "7") << way.how;
  }
}

TEST(Extras, PortTestOnTheInProcessBus) {
  ShellOptions options;
  options.simPorts = {2};
  // Bytes that turn up on the line while nobody asks (bus time).
  options.scenario.faults.injections.push_back({0, 200, {0x00, 0xff, 0x3b}});
  Shell s(options);
  s.settings->set("ComPort", "2");
  s.settings->set("FensterListe", "0");
  s.start();
  QTest::mouseClick(portTestBox(s), Qt::LeftButton);
  ASSERT_TRUE(uitest::waitFor([&] { return receivedList(s)->count() >= 1; }, 5000));
  EXPECT_EQ(lines(receivedList(s)), QStringList({"00 ff 3b "}));
  EXPECT_TRUE(s.device->rts());
  EXPECT_FALSE(s.device->dtr());

  // Showing the page again stops the test and unchecks the box.
  ASSERT_TRUE(s.clickTab(shell::kPageInfo));
  ASSERT_TRUE(s.clickTab(shell::kPageExtras));
  EXPECT_FALSE(s.extras->portTestRunning());
  EXPECT_FALSE(portTestBox(s)->isChecked());
  EXPECT_EQ(receivedList(s)->count(), 0);
}

// --- module selection ---------------------------------------------------------

QDialog* asDialog(QWidget* w) {
  return qobject_cast<QDialog*>(w);
}

void click(QWidget* dialog, int32_t id) {
  auto* button = control<QAbstractButton>(dialog, id);
  ASSERT_NE(button, nullptr) << id;
  QTest::mouseClick(button, Qt::LeftButton);
}

void pressModuleSelection(Shell& s) {
  ASSERT_TRUE(s.clickTab(shell::kPageExtras));
  click(s.extras->widget(), ExtrasPage::kModuleSelectionButton);
}

TEST(ModuleSelection, BothDialogsWriteTheirBitsAndKeepBit17) {
  Shell s;
  s.settings->set("FensterListe", std::to_string((1 << 17) | (1 << 9) | 1));
  s.start();

  int32_t keyFirst = 0, keyMore = 0;
  bool firstBoxes = false, moreBoxes = false;
  uitest::onNextModal([&](QWidget* first) {
    keyFirst = s.host().dialogKey();
    firstBoxes = shell::isChecked(first, 301) == 1 && shell::isChecked(first, 302) == 0 &&
                 shell::findControl(first, 310) == nullptr;
    shell::setCheck(first, 301, 0);
    shell::setCheck(first, 303, 1);
    uitest::onNestedModal(first, [&](QWidget* more) {
      keyMore = s.host().dialogKey();
      moreBoxes = shell::isChecked(more, 310) == 1 && shell::isChecked(more, 317) == 0 &&
                  shell::findControl(more, 301) == nullptr;
      shell::setCheck(more, 317, 1);
      click(more, shell::kCommandOk);
    });
    click(first, shell::kCommandMore);
    click(first, shell::kCommandOk);
  });
  pressModuleSelection(s);

  EXPECT_EQ(keyFirst, 187);
  EXPECT_EQ(keyMore, 502);
  EXPECT_EQ(s.host().dialogKey(), 0);
  EXPECT_TRUE(firstBoxes);
  EXPECT_TRUE(moreBoxes);
  EXPECT_EQ(s.settings->getInt("FensterListe", -1), (1 << 17) | (1 << 16) | (1 << 9) | (1 << 2));
  EXPECT_EQ(s.tabCaptions(),
            QStringList({"Gang-Anzeige", "Öl-Anzeige", "Warmlaufregler", "Extras", "Info"}));
  EXPECT_EQ(s.host().currentPageId(), 203);
}

TEST(ModuleSelection, EscapeWritesNothing) {
  Shell s;
  s.settings->set("FensterListe", "131073");
  s.start();
  uitest::onNextModal([&](QWidget* first) {
    shell::setCheck(first, 301, 0);
    uitest::onNestedModal(first, [&](QWidget* more) {
      shell::setCheck(more, 310, 1);
      QTest::keyClick(more, Qt::Key_Escape);
    });
    click(first, shell::kCommandMore);
    EXPECT_EQ(s.host().dialogKey(), 187) << "restored after the inner dialog";
    QTest::keyClick(first, Qt::Key_Escape);
  });
  pressModuleSelection(s);
  EXPECT_EQ(s.settings->get("FensterListe", "-"), "131073");
  // The tabs are rebuilt all the same; the first one is shown.
  EXPECT_EQ(s.tabCaptions(), QStringList({"Zündung", "Extras", "Info"}));
  EXPECT_EQ(s.host().currentPageId(), shell::kPageIgnition);
}

TEST(ModuleSelection, InnerOkStaysWhenTheOuterIsCancelled) {
  Shell s;
  s.start();  // FensterListe missing: 1
  uitest::onNextModal([&](QWidget* first) {
    uitest::onNestedModal(first, [&](QWidget* more) {
      shell::setCheck(more, 311, 1);
      click(more, shell::kCommandOk);
    });
    click(first, shell::kCommandMore);
    asDialog(first)->reject();
  });
  pressModuleSelection(s);
  EXPECT_EQ(s.settings->getInt("FensterListe", -1), 1 | (1 << 10));
  EXPECT_EQ(s.tabCaptions(), QStringList({"Zündung", "Stopuhr", "Extras", "Info"}));
}

TEST(ModuleSelection, UncheckingTheIgnitionLeavesExtrasAndInfo) {
  Shell s;
  s.start();
  uitest::onNextModal([&](QWidget* first) {
    shell::setCheck(first, 301, 0);
    click(first, shell::kCommandOk);
  });
  pressModuleSelection(s);
  EXPECT_EQ(s.settings->getInt("FensterListe", -1), 0);
  EXPECT_EQ(s.tabCaptions(), QStringList({"Extras", "Info"}));
  EXPECT_EQ(s.host().currentPageId(), shell::kPageExtras);
}

}  // namespace

namespace {

TEST(Extras, FirmwareButtonRunsTheFirmwareWindowUnderItsKey) {
  Shell s;
  s.start();
  ASSERT_TRUE(s.clickTab(shell::kPageExtras));
  int32_t keyWhileOpen = 0;
  QWidget* parent = nullptr;
  s.extras->setFirmwareWindow([&](QWidget* p) {
    parent = p;
    auto dialog = std::make_unique<QDialog>(p);
    QTimer::singleShot(0, dialog.get(), [&, d = dialog.get()] {
      keyWhileOpen = s.host().dialogKey();
      d->accept();
    });
    return dialog;
  });
  s.host().setDialogKey(0);
  click(s.extras->widget(), ExtrasPage::kFirmwareButton);
  EXPECT_EQ(keyWhileOpen, 7900);
  EXPECT_EQ(s.host().dialogKey(), 0);
  EXPECT_EQ(parent, &s.host());
  EXPECT_EQ(uitest::control<QPushButton>(s.extras->widget(), ExtrasPage::kFirmwareButton)->text(),
            QStringLiteral("Firmwareupd."));
}

}  // namespace
