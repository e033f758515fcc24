#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <fstream>

#include "shell/file_dialog.h"
#include "shell/ui/qt_controls.h"
#include "shell/ui/qt_file_chooser.h"
#include "shell/ui/qt_fixed_field.h"
#include "shell/ui/qt_text.h"
#include "shell/ui/qt_tooltips.h"
#include "tests/shell/ui/shell_ui_support.h"

namespace {

TEST(FixedField, ShowsWithADecimalComma) {
  struct Row {
    uint32_t value;
    int decimals;
    const char* shown;
  };
  const Row rows[] = {{1234, 2, "12,34"}, {1234, 3, "1,234"}, {7, 1, "0,7"},
                      {1234, 0, "1234"},  {5, 3, "0,005"},    {1234, 4, "1234"}};
  QLineEdit field;
  for (const Row& r : rows) {
    shell::setFixedField(&field, r.value, r.decimals);
    EXPECT_EQ(field.text(), QString::fromUtf8(r.shown)) << r.value << "/" << r.decimals;
  }
}

TEST(FixedField, ReadsAtMostNineCharacters) {
  struct Row {
    const char* typed;
    int decimals;
    int32_t value;
  };
  const Row rows[] = {{"12,345", 2, 1235},    {"abc", 2, 0},    {"-1,25", 2, -124},
                      {"0,7", 1, 7},          {"12.5", 1, 125}, {"1000000005", 0, 100000000},
                      {"1,2345678", 3, 1235}, {"", 1, 0}};
  QLineEdit field;
  for (const Row& r : rows) {
    field.setText(QString::fromUtf8(r.typed));
    EXPECT_EQ(shell::getFixedField(&field, r.decimals), r.value) << r.typed;
  }
}

TEST(Tooltips, EveryNumberedControlButStaticTexts) {
  QDialog dialog;
  auto* label = new QLabel(QStringLiteral("Drehzahl"), &dialog);
  auto* button = new QPushButton(&dialog);
  auto* box = new QCheckBox(&dialog);
  auto* edit = new QLineEdit(&dialog);
  shell::setControlId(label, 10);
  shell::setControlId(button, 11);
  shell::setControlId(box, 12);
  shell::setControlId(edit, 13);
  edit->setToolTip(QStringLiteral("stale"));
  const shell::TooltipEntry table[] = {{10, 8037}, {11, 8037}, {12, 0}};
  EXPECT_EQ(shell::createTooltips(&dialog, table), 3);
  EXPECT_EQ(button->toolTip(), shell::qtText(8037));
  EXPECT_FALSE(button->toolTip().isEmpty());
  EXPECT_EQ(box->toolTip(), QString());    // text ID 0
  EXPECT_EQ(edit->toolTip(), QString());   // no row
  EXPECT_EQ(label->toolTip(), QString());  // static texts get none

  QDialog onlyLabels;
  shell::setControlId(new QLabel(&onlyLabels), 20);
  EXPECT_EQ(shell::createTooltips(&onlyLabels, table), 0);
  EXPECT_EQ(shell::tooltipText(0), QString());
}

TEST(CheckBoxes, SetAndRead) {
  QDialog dialog;
  auto* box = new QCheckBox(&dialog);
  shell::setControlId(box, 402);
  auto* edit = new QLineEdit(&dialog);
  shell::setControlId(edit, 403);
  shell::setCheck(&dialog, 402, 5);
  EXPECT_TRUE(box->isChecked());
  EXPECT_EQ(shell::isChecked(&dialog, 402), 1);
  shell::setCheck(&dialog, 402, 0);
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(shell::isChecked(&dialog, 402), 0);
  EXPECT_EQ(shell::isChecked(&dialog, 403), 0);
  EXPECT_EQ(shell::isChecked(&dialog, 999), 0);
}

class FileChooser : public testing::Test {
 protected:
  void SetUp() override {
    shell::FileDialog::setChooser(shell::chooseFileWithQt);
    std::ofstream(folder.path + "/Golf.Ignar") << "[Zuendung]\n";
    dialog.setFolder(folder.path + "/");
    dialog.clearFilters();
    dialog.addFilter("Zündung (*.Ignar)", "*.Ignar");
    dialog.addFilter("Service", "*.zeb;*.txt");
  }
  void TearDown() override { shell::FileDialog::setChooser({}); }

  uitest::TempFolder folder;
  shell::FileDialog dialog;
};

TEST_F(FileChooser, OpenStartsInTheFolderWithTheFiltersAndKeepsTheChosenFolder) {
  QString startedIn;
  QStringList filters;
  uitest::onNextModal([&](QWidget* w) {
    auto* box = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(box, nullptr);
    startedIn = box->directory().absolutePath();
    filters = box->nameFilters();
    box->selectFile(QString::fromStdString(folder.path + "/Golf.Ignar"));
    static_cast<QDialog*>(box)->accept();
  });
  std::string path;
  ASSERT_EQ(dialog.openDialog(path), 0);
  EXPECT_EQ(startedIn, QDir(QString::fromStdString(folder.path)).absolutePath());
  EXPECT_EQ(filters, QStringList({"Zündung (*.Ignar)", "Service (*.zeb *.txt)"}));
  EXPECT_EQ(path, folder.path + "/Golf.Ignar");
  EXPECT_EQ(dialog.folder(), folder.path + "/");
}

TEST_F(FileChooser, SaveReturnsANewNameAndCancelReturnsOne) {
  uitest::onNextModal([&](QWidget* w) {
    auto* box = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->acceptMode(), QFileDialog::AcceptSave);
    box->selectFile(QString::fromStdString(folder.path + "/Neu.Ignar"));
    static_cast<QDialog*>(box)->accept();
  });
  std::string path;
  ASSERT_EQ(dialog.saveDialog(path), 0);
  EXPECT_EQ(path, folder.path + "/Neu.Ignar");

  uitest::onNextModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  std::string untouched = "x";
  EXPECT_EQ(dialog.openDialog(untouched), 1);
  EXPECT_EQ(untouched, "x");
}

}  // namespace
