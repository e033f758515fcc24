#include "viewers/common/ui/form_store.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "tests/support/ui_test_support.h"
#include "tests/viewers/common/ui/pty_port.h"
#include "viewers/common/config.h"
#include "viewers/common/ui/uc_com.h"

namespace viewers {
namespace {

class NoMessages : public ViewerMessages {
 public:
  void show(const std::string& text, MessageIcon) override { shown.push_back(text); }
  bool askYesNo(const std::string& text) override {
    shown.push_back(text);
    return false;
  }
  std::vector<std::string> shown;
};

QWidget* tagged(QWidget* widget, const char* name) {
  widget->setObjectName(name);
  widget->setProperty("tag", "cfg");
  return widget;
}

// A form with one control of every kind the settings file knows, all marked
// "cfg", plus one that is not.
struct Form {
  Form() {
    window.setObjectName("HF");
    window.setProperty("tag", "CFG");
    window.setWindowTitle(QString::fromUtf8("Funkora Zündung"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(tagged(pause = new QCheckBox("Pause"), "Check_Pause"));
    layout->addWidget(tagged(connect = new QPushButton("Verbinden"), "Check_Verbinden"));
    connect->setCheckable(true);
    for (int i = 0; i < 5; ++i) {
      auto* button = new QPushButton(QStringLiteral("%1 U/min").arg(i));
      tagged(button, "Opt_Skala");
      button->setProperty("index", i);
      button->setCheckable(true);
      button->setAutoExclusive(true);
      scale.push_back(button);
      layout->addWidget(button);
    }
    scale[0]->setChecked(true);
    layout->addWidget(tagged(combo = new QComboBox, "Zylinder"));
    combo->addItems({"2 Zylinder", "3 Zylinder", "4 Zylinder"});
    layout->addWidget(tagged(listBox = new QListWidget, "Dateien"));
    listBox->addItems({"a", "b", "c"});
    layout->addWidget(tagged(listView = new QTreeWidget, "Ports"));
    listView->setRootIsDecorated(false);
    listView->setColumnCount(2);
    for (const char* port : {"COM1", "COM2", "COM3"}) {
      new QTreeWidgetItem(listView, {port, ""});
    }
    layout->addWidget(tagged(tree = new QTreeWidget, "Baum"));
    auto* top = new QTreeWidgetItem(tree, {"oben"});
    top->setData(0, Qt::UserRole, "K1");
    new QTreeWidgetItem(top, {"unten"});
    auto* other = new QTreeWidgetItem(tree, {"zweig"});
    new QTreeWidgetItem(other, {"blatt"});
    layout->addWidget(tagged(slider = new QSlider(Qt::Horizontal), "Zoom"));
    slider->setRange(0, 100);
    layout->addWidget(tagged(line = new QLineEdit, "Name"));
    layout->addWidget(tagged(notes = new QPlainTextEdit, "Notiz"));
    layout->addWidget(untagged = new QLineEdit);
    untagged->setObjectName("Frei");
    com = new ucCOM(&window);
    com->setObjectName("COM");
    com->setProperty("tag", "cfg");
  }

  QWidget window;
  QCheckBox* pause;
  QPushButton* connect;
  std::vector<QPushButton*> scale;
  QComboBox* combo;
  QListWidget* listBox;
  QTreeWidget* listView;
  QTreeWidget* tree;
  QSlider* slider;
  QLineEdit* line;
  QPlainTextEdit* notes;
  QLineEdit* untagged;
  ucCOM* com;
};

class FormStoreTest : public ::testing::Test {
 protected:
  std::unique_ptr<CConfig> openConfig() {
    auto config = std::make_unique<CConfig>(
        ProductInfo{kProductFunkora, 1, 2, 1},
        ViewerFolders{folder_.path, folder_.path, folder_.path, folder_.path}, messages_);
    config->SetXMLFile(file_, true);
    return config;
  }
  std::string storedFile() {
    std::ifstream in(file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  uitest::TempFolder folder_;
  std::string file_ = folder_.path + "/Funkora.xml";
  NoMessages messages_;
  viewers_ui_test::PtyPort port_{93};
};

TEST_F(FormStoreTest, EveryKindOfControlRoundTripsThroughTheSettingsFile) {
  ASSERT_TRUE(port_.ok());
  {
    Form form;
    form.window.move(100, 80);
    form.window.resize(640, 480);
    form.pause->setChecked(true);
    form.connect->setChecked(true);
    form.scale[3]->setChecked(true);
    form.combo->setCurrentIndex(2);
    form.listBox->setCurrentRow(1);
    form.listView->setColumnWidth(0, 90);
    form.listView->setColumnWidth(1, 40);
    form.listView->setCurrentItem(form.listView->topLevelItem(2));
    form.tree->topLevelItem(0)->setExpanded(true);
    form.slider->setValue(42);
    form.line->setText(QString::fromUtf8("Straße"));
    form.notes->setPlainText("erste\nzweite");
    form.untagged->setText("bleibt weg");
    ASSERT_TRUE(form.com->COMPort("COM93"));
    ASSERT_TRUE(form.com->Settings("38400,n,8,1"));
    auto config = openConfig();
    saveForm(*config, &form.window);
    ASSERT_TRUE(config->SaveCfg());

    // What the file holds, in the Windows viewers' terms.
    EXPECT_EQ(config->ReadParam("HF", "VarType"), "Form");
    EXPECT_EQ(config->ReadParam("HF", "State"), "0");
    EXPECT_EQ(config->ReadParam("HF", "Left"), "1500");
    EXPECT_EQ(config->ReadParam("HF", "Top"), "1200");
    EXPECT_EQ(config->ReadParam("HF", "Width"), "9600");
    EXPECT_EQ(config->ReadParam("HF", "Height"), "7200");
    EXPECT_EQ(config->ReadParam("HF", "Caption"), "Funkora Z\xC3\xBCndung");
    EXPECT_EQ(config->ReadParam("HF/Opt_Skala", "VarType"), "OptionButton");
    EXPECT_EQ(config->ReadParam("HF/Opt_Skala", "SelIndex"), "3");
    EXPECT_EQ(config->ReadParam("HF/Check_Pause", "VarType"), "CheckBox");
    EXPECT_EQ(config->ReadParam("HF/Check_Pause", "Value"), "1");
    EXPECT_EQ(config->ReadParam("HF/Check_Verbinden", "Value"), "1");
    EXPECT_EQ(config->ReadParam("HF/Zylinder", "ListIndex"), "2");
    EXPECT_EQ(config->ReadParam("HF/Zylinder", "Text"), "4 Zylinder");
    EXPECT_EQ(config->ReadParam("HF/Dateien", "VarType"), "ListBox");
    EXPECT_EQ(config->ReadParam("HF/Ports", "VarType"), "ListView");
    EXPECT_EQ(config->ReadParam("HF/Ports", "ColWidth"), "1350;600");
    EXPECT_EQ(config->ReadParam("HF/Ports", "ListIndex"), "3");
    EXPECT_EQ(config->ReadParam("HF/Baum", "VarType"), "TreeView");
    EXPECT_EQ(config->ReadParam("HF/Baum", "Expandet"), "K1");
    EXPECT_EQ(config->ReadParam("HF/Zoom", "VarType"), "Slider");
    EXPECT_EQ(config->ReadParam("HF/Zoom", "Value"), "42");
    EXPECT_EQ(config->ReadParam("HF/Notiz", "Text"), "erste\r\nzweite");
    EXPECT_EQ(config->ReadParam("HF/COM", "VarType"), "MSComm");
    EXPECT_EQ(config->ReadParam("HF/COM", "CommPort"), "93");
    EXPECT_EQ(config->ReadParam("HF/COM", "Settings"), "38400,n,8,1");
    EXPECT_FALSE(config->PathExists("HF/Frei"));
  }
  // The file is Latin-1 as the Windows viewers write it.
  EXPECT_NE(storedFile().find("Stra\xDF"
                              "e"),
            std::string::npos);

  Form fresh;
  auto config = openConfig();
  restoreForm(*config, &fresh.window);
  EXPECT_EQ(fresh.window.pos(), QPoint(100, 80));
  EXPECT_EQ(fresh.window.size(), QSize(640, 480));
  EXPECT_TRUE(fresh.pause->isChecked());
  EXPECT_TRUE(fresh.connect->isChecked());
  EXPECT_TRUE(fresh.scale[3]->isChecked());
  EXPECT_FALSE(fresh.scale[0]->isChecked());
  EXPECT_EQ(fresh.combo->currentIndex(), 2);
  EXPECT_EQ(fresh.listBox->currentRow(), 1);
  EXPECT_EQ(fresh.listView->columnWidth(0), 90);
  EXPECT_EQ(fresh.listView->columnWidth(1), 40);
  EXPECT_EQ(fresh.listView->currentItem(), fresh.listView->topLevelItem(2));
  EXPECT_TRUE(fresh.tree->topLevelItem(0)->isExpanded());
  EXPECT_FALSE(fresh.tree->topLevelItem(1)->isExpanded());
  EXPECT_EQ(fresh.slider->value(), 42);
  EXPECT_EQ(fresh.line->text(), QString::fromUtf8("Straße"));
  EXPECT_EQ(fresh.notes->toPlainText(), "erste\nzweite");
  EXPECT_EQ(fresh.untagged->text(), "");
  EXPECT_EQ(fresh.com->GetCOMPort(), "COM93");
  EXPECT_EQ(fresh.com->settingsText(), "38400,n,8,1");
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FormStoreTest, MaximisedFormStoresNoGeometryAndComesBackOnlyWhenSizable) {
  {
    Form form;
    form.window.move(30, 40);
    form.window.setWindowState(Qt::WindowMaximized);
    auto config = openConfig();
    saveForm(*config, &form.window, 2);
    EXPECT_EQ(config->ReadParam("HF/HF2", "State"), "2");
    EXPECT_FALSE(config->TestParam("HF/HF2", "Left"));
    EXPECT_FALSE(config->TestParam("HF/HF2", "Width"));
  }
  Form sizable;
  restoreForm(*openConfig(), &sizable.window, 2);
  EXPECT_TRUE(sizable.window.windowState() & Qt::WindowMaximized);

  Form fixed;
  fixed.window.setFixedSize(300, 200);
  restoreForm(*openConfig(), &fixed.window, 2);
  EXPECT_FALSE(fixed.window.windowState() & Qt::WindowMaximized);
  EXPECT_EQ(fixed.window.size(), QSize(300, 200));
}

TEST_F(FormStoreTest, FixedFormGetsItsPlaceButNotItsSizeAndUntaggedFormNeither) {
  {
    Form form;
    form.window.move(12, 34);
    form.window.resize(500, 400);
    auto config = openConfig();
    saveForm(*config, &form.window);
  }
  Form fixed;
  fixed.window.setFixedSize(320, 240);
  fixed.window.move(0, 0);
  restoreForm(*openConfig(), &fixed.window);
  EXPECT_EQ(fixed.window.pos(), QPoint(12, 34));
  EXPECT_EQ(fixed.window.size(), QSize(320, 240));

  // A form not tagged "cfg" keeps its window, its controls still come back.
  Form plain;
  plain.window.setProperty("tag", QVariant());
  plain.window.move(5, 6);
  plain.scale[2]->setChecked(true);
  {
    auto config = openConfig();
    saveForm(*config, &plain.window);
  }
  Form again;
  again.window.setProperty("tag", QVariant());
  again.window.move(7, 8);
  restoreForm(*openConfig(), &again.window);
  EXPECT_EQ(again.window.pos(), QPoint(7, 8));
  EXPECT_TRUE(again.scale[2]->isChecked());
}

TEST_F(FormStoreTest, WindowsComeUpOnTheScreen) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  {  // stored on a screen that is gone
    Form form;
    form.window.move(area.right() + 2000, area.bottom() + 1500);
    form.window.resize(300, 200);
    auto config = openConfig();
    saveForm(*config, &form.window);
  }
  Form far;
  restoreForm(*openConfig(), &far.window);
  EXPECT_TRUE(area.contains(far.window.pos())) << far.window.x() << "," << far.window.y();
  // Nothing stored, larger than the screen: centred and made to fit.
  std::filesystem::remove(file_);
  Form big;
  big.window.resize(area.width() + 400, area.height() + 300);
  restoreForm(*openConfig(), &big.window);
  EXPECT_TRUE(area.contains(big.window.geometry()))
      << big.window.width() << "x" << big.window.height();
}

TEST_F(FormStoreTest, ValuesThatDoNotFitAControlAreSkipped) {
  auto config = openConfig();
  config->WriteParam("HF/Zylinder", "VarType", "ComboBox");
  config->WriteParam("HF/Zylinder", "ListIndex", "17");
  config->WriteParam("HF/Check_Pause", "VarType", "CheckBox");
  config->WriteParam("HF/Check_Pause", "Value", "Ja");
  config->WriteParam("HF/Zoom", "VarType", "TextBox");
  config->WriteParam("HF/Zoom", "Text", "55");
  config->WriteParam("HF/Opt_Skala", "VarType", "OptionButton");
  config->WriteParam("HF/Opt_Skala", "SelIndex", "9");
  Form form;
  form.combo->setCurrentIndex(1);
  form.slider->setValue(7);
  restoreForm(*config, &form.window);
  EXPECT_EQ(form.combo->currentIndex(), 1);
  EXPECT_FALSE(form.pause->isChecked());
  EXPECT_EQ(form.slider->value(), 7);
  EXPECT_TRUE(form.scale[0]->isChecked());
}

}  // namespace
}  // namespace viewers
