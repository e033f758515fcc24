#include "viewers/common/ui/feinstell.h"

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

#include "platform/termios_device.h"
#include "tests/support/ui_test_support.h"
#include "tests/viewers/common/ui/pty_port.h"
#include "viewers/common/ui/uc_com.h"
#include "viewers/common/ui/uc_com_list_view.h"

namespace viewers {
namespace {

using viewers_ui_test::PtyPort;

// The trigger viewer's default colours, red + 256 green + 65536 blue:
// 128,128,128; 220,220,220; 240,240,255; 240,255,240; 0,0,255; 0,128,0;
// 255,255,200.
constexpr DisplayColours kDefaults = {8421504,  14474460, 16773360, 15794160,
                                      16711680, 32768,    13172735};

class WindowColours : public ColourHost {
 public:
  DisplayColours displayColours() const override { return colours; }
  void setDisplayColours(const DisplayColours& c) override { colours = c; }
  void redrawNow() override { ++redraws; }
  DisplayColours colours = kDefaults;
  int redraws = 0;
};

// Three ports: COM91 and COM94 free, COM92 held by another program.
class FEinstellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(free_.ok() && held_.ok() && spare_.ok());
    ASSERT_TRUE(other_.openDevice(92));
    ASSERT_TRUE(com_.COMPort("COM91"));
  }
  int rowOf(const FEinstell& dialog, const QString& port) {
    QTreeWidget* list = dialog.portList()->list();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      if (list->topLevelItem(i)->text(0) == port) return i;
    }
    return -1;
  }
  void userCheck(const FEinstell& dialog, const QString& port) {
    int row = rowOf(dialog, port);
    ASSERT_GE(row, 0) << port.toStdString();
    dialog.portList()->list()->topLevelItem(row)->setCheckState(0, Qt::Checked);
  }
  void press(QDialog& dialog, const char* button) {
    dialog.findChild<QPushButton*>(button)->click();
  }

  PtyPort free_{91}, held_{92}, spare_{94};
  platform::TermiosDevice other_;
  ucCOM com_;
};

TEST(DisplayColourValues, AreRedPlus256GreenPlus65536Blue) {
  EXPECT_EQ(valueOf(QColor(0, 0, 255)), 16711680u);
  EXPECT_EQ(valueOf(QColor(128, 128, 128)), 8421504u);
  EXPECT_EQ(colourOf(32768), QColor(0, 128, 0));
  EXPECT_EQ(colourOf(13172735), QColor(255, 255, 200));
}

TEST_F(FEinstellTest, RpmViewerShowsPortsAndCylindersAndOkTakesBoth) {
  int cylinders = 6;
  FEinstell dialog(com_, cylinders, nullptr);
  EXPECT_EQ(dialog.windowTitle(), "Einstellungen");
  EXPECT_EQ(dialog.portFrame()->title(), "COM-Port");
  EXPECT_EQ(dialog.cylinderFrame()->title(), "Druckanzeigen/Zylinderanzahl");
  ASSERT_EQ(dialog.cylinderList()->count(), 7);
  EXPECT_EQ(dialog.cylinderList()->itemText(0), "2 Zylinder");
  EXPECT_EQ(dialog.cylinderList()->itemText(6), "8 Zylinder");
  EXPECT_EQ(dialog.cylinderList()->currentText(), "6 Zylinder");
  EXPECT_EQ(dialog.colourField(0), nullptr);

  QTreeWidget* list = dialog.portList()->list();
  const int free = rowOf(dialog, "COM91");
  const int held = rowOf(dialog, "COM92");
  ASSERT_GE(free, 0);
  ASSERT_GE(held, 0);
  EXPECT_EQ(list->topLevelItem(free)->text(4), "frei");
  EXPECT_EQ(list->topLevelItem(held)->text(4), "belegt");
  EXPECT_EQ(list->topLevelItem(held)->foreground(0).color(), QColor(Qt::red));
  EXPECT_EQ(dialog.portList()->GetCOMPort(), "COM91");
  EXPECT_FALSE(dialog.portList()->isLocked());
  EXPECT_TRUE(dialog.portFrame()->isEnabled());

  uitest::onNextModal([&](QWidget*) {
    userCheck(dialog, "COM94");
    dialog.cylinderList()->setCurrentIndex(1);
    EXPECT_TRUE(uitest::saveShot(&dialog, "settings_funkora"));
    press(dialog, "Ok");
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(cylinders, 3);
  EXPECT_EQ(com_.GetCOMPort(), "COM94");
}

TEST_F(FEinstellTest, RpmViewerCancelKeepsPortAndCylinders) {
  int cylinders = 4;
  FEinstell dialog(com_, cylinders, nullptr);
  uitest::onNextModal([&](QWidget*) {
    userCheck(dialog, "COM94");
    dialog.cylinderList()->setCurrentIndex(6);
    press(dialog, "Abbrechen");
  });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  EXPECT_EQ(cylinders, 4);
  EXPECT_EQ(com_.GetCOMPort(), "COM91");
}

TEST_F(FEinstellTest, OpenPortLocksTheListAndTheRpmViewersFrames) {
  ASSERT_TRUE(com_.OpenPort());
  int cylinders = 8;
  FEinstell dialog(com_, cylinders, nullptr);
  EXPECT_TRUE(dialog.portList()->isLocked());
  EXPECT_EQ(dialog.portList()->GetCOMPort(), "COM91");
  EXPECT_FALSE(dialog.portFrame()->isEnabled());
  EXPECT_FALSE(dialog.cylinderFrame()->isEnabled());
  EXPECT_FALSE(dialog.cylinderList()->isEnabled());
  // Our own open port counts as taken in the list, too.
  QTreeWidget* list = dialog.portList()->list();
  EXPECT_EQ(list->topLevelItem(rowOf(dialog, "COM91"))->text(4), "belegt");

  uitest::onNextModal([&](QWidget*) {
    userCheck(dialog, "COM94");
    press(dialog, "Ok");
  });
  dialog.exec();
  EXPECT_EQ(com_.GetCOMPort(), "COM91");
  EXPECT_TRUE(com_.PortIsOpen());
  EXPECT_EQ(cylinders, 8);
}

TEST_F(FEinstellTest, TriggerViewerLocksOnlyTheList) {
  ASSERT_TRUE(com_.OpenPort());
  WindowColours window;
  FEinstell dialog(com_, window, nullptr);
  EXPECT_TRUE(dialog.portList()->isLocked());
  EXPECT_TRUE(dialog.portFrame()->isEnabled());
  EXPECT_EQ(dialog.cylinderFrame(), nullptr);
  // Filling the squares redraws nothing.
  EXPECT_EQ(window.redraws, 0);
}

// Picks `colour` in the colour dialog that a click on square `index` opens;
// an invalid colour cancels the colour dialog.
void pickColour(FEinstell& dialog, int index, const QColor& colour, QColor* preset = nullptr) {
  uitest::onNestedModal(&dialog, [colour, preset](QWidget* modal) {
    auto* picker = qobject_cast<QColorDialog*>(modal);
    ASSERT_NE(picker, nullptr);
    if (preset != nullptr) *preset = picker->currentColor();
    if (!colour.isValid()) {
      picker->reject();
      return;
    }
    picker->setCurrentColor(colour);
    picker->accept();
  });
  dialog.colourField(index)->click();
}

TEST_F(FEinstellTest, TriggerViewerColourShowsAtOnceAndCancelPutsItBack) {
  WindowColours window;
  FEinstell dialog(com_, window, nullptr);
  QColor preset;
  int redrawsAfterPick = 0;
  DisplayColours whilePicked{};
  uitest::onNextModal([&](QWidget*) {
    pickColour(dialog, 4, QColor(255, 0, 0), &preset);
    whilePicked = window.colours;
    redrawsAfterPick = window.redraws;
    press(dialog, "Abbrechen");
  });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  EXPECT_EQ(preset, QColor(0, 0, 255));  // "Linie Kanal 1" as it was
  EXPECT_EQ(whilePicked[4], 255u);
  EXPECT_EQ(redrawsAfterPick, 1);
  EXPECT_EQ(window.colours, kDefaults);
  EXPECT_GT(window.redraws, redrawsAfterPick);
}

TEST_F(FEinstellTest, TriggerViewerOkKeepsTheColoursAndACancelledPickKeepsThePreset) {
  WindowColours window;
  FEinstell dialog(com_, window, nullptr);
  uitest::onNextModal([&](QWidget*) {
    pickColour(dialog, 6, QColor(10, 20, 30));
    pickColour(dialog, 0, QColor());
    EXPECT_TRUE(uitest::saveShot(&dialog, "settings_taktora"));
    userCheck(dialog, "COM94");
    press(dialog, "Ok");
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  DisplayColours expected = kDefaults;
  expected[6] = 10 + 256 * 20 + 65536 * 30;
  EXPECT_EQ(window.colours, expected);
  EXPECT_EQ(com_.GetCOMPort(), "COM94");
}

TEST_F(FEinstellTest, TriggerViewerClosingByTheWindowButtonUndoesColours) {
  WindowColours window;
  FEinstell dialog(com_, window, nullptr);
  uitest::onNextModal([&](QWidget*) {
    pickColour(dialog, 1, QColor(1, 2, 3));
    dialog.close();
  });
  dialog.exec();
  EXPECT_EQ(window.colours, kDefaults);
}

}  // namespace
}  // namespace viewers
