#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <fstream>

#include "shell/file_dialog.h"
#include "shell/ui/app_icon.h"
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
  // Tips also show while another window is the active one.
  EXPECT_TRUE(dialog.testAttribute(Qt::WA_AlwaysShowToolTips));

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

TEST_F(FileChooser, SavedNameWithoutExtensionGetsTheChosenFiltersOne) {
  dialog.addFilter("alle Dateien (*.*)", "*.*");
  struct Case {
    int filter;  // index into the dialog's filters
    QString typed;
    std::string saved;
  };
  const Case cases[] = {
      {0, "test1", "/test1.Ignar"},        // the reported case
      {0, "Golf", "/Golf.Ignar"},          // an existing file: asked about, then chosen
      {0, "test2.Fulgo", "/test2.Fulgo"},  // an extension of the user's own stays
      {1, "dienst", "/dienst.zeb"},        // the first of several patterns
      {2, "roh", "/roh"},                  // "*.*" names no extension
  };
  for (const Case& c : cases) {
    uitest::onNextModal([&](QWidget* w) {
      auto* box = qobject_cast<QFileDialog*>(w);
      ASSERT_NE(box, nullptr);
      box->selectNameFilter(box->nameFilters().value(c.filter));
      emit box->filterSelected(box->nameFilters().value(c.filter));
      box->selectFile(c.typed);
      // Overwriting the existing file is asked; the user says yes.
      uitest::onNestedModal(w, [](QWidget* question) {
        auto* box = qobject_cast<QMessageBox*>(question);
        if (box != nullptr) box->button(QMessageBox::Yes)->click();
      });
      static_cast<QDialog*>(box)->accept();
    });
    std::string path;
    ASSERT_EQ(dialog.saveDialog(path), 0) << c.typed.toStdString();
    EXPECT_EQ(path, folder.path + c.saved) << c.typed.toStdString();
  }
}

TEST(FilterSuffix, FirstPatternsExtensionOnly) {
  EXPECT_EQ(shell::filterSuffix("Zündung (*.Ignar)"), "Ignar");
  EXPECT_EQ(shell::filterSuffix("Service (*.zeb *.txt)"), "zeb");
  EXPECT_EQ(shell::filterSuffix("alle Dateien (*.*)"), "");
  EXPECT_EQ(shell::filterSuffix("Logs (Log*.bin)"), "");
  EXPECT_EQ(shell::filterSuffix("ohne Muster"), "");
}

TEST(ProgramIcon, SmallAndBigSizesArePainted) {
  const QIcon icon = shell::programIcon();
  for (int size : {16, 32, 48}) {
    const QImage image = icon.pixmap(size, size).toImage();
    ASSERT_EQ(image.size(), QSize(size, size)) << size;
    // Not an empty picture: the tile and the spark in two colours.
    const QRgb tile = image.pixel(size / 10, size / 2);
    const QRgb spark = image.pixel(size / 2, size / 2);
    EXPECT_GT(qAlpha(tile), 200) << size;
    EXPECT_NE(tile, spark) << size;
  }
}

}  // namespace
