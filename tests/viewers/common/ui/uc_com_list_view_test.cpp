#include "viewers/common/ui/uc_com_list_view.h"

#include <gtest/gtest.h>

#include <QTreeWidget>

#include "tests/support/ui_test_support.h"

namespace viewers {
namespace {

std::vector<PortEntry> samplePorts() {
  return {
      {true, 1, "", "", ""},
      {false, 3, "", "", ""},
      {false, 5, "ZEB KOM-Adapter", "V2.1", "ZEB01234"},
      {true, 9, "FT232R USB UART", "", "A50285BI"},
  };
}

QTreeWidgetItem* row(const ucComListView& view, int i) {
  return view.list()->topLevelItem(i);
}

// As the user's click on a row's box does it.
void userCheck(const ucComListView& view, int i, bool on = true) {
  row(view, i)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

std::vector<bool> checks(const ucComListView& view) {
  std::vector<bool> result;
  for (int i = 0; i < view.list()->topLevelItemCount(); ++i) {
    result.push_back(row(view, i)->checkState(0) == Qt::Checked);
  }
  return result;
}

TEST(UcComListView, RowsShowTheFiveFieldsUnderTheirColumns) {
  ucComListView view;
  view.SetList(samplePorts());
  QTreeWidgetItem* header = view.list()->headerItem();
  const QStringList columns = {"Port", "Beschreibung", "Version", "Serien-Nr.", "Status"};
  ASSERT_EQ(view.list()->columnCount(), columns.size());
  for (int c = 0; c < columns.size(); ++c) EXPECT_EQ(header->text(c), columns[c]);

  ASSERT_EQ(view.list()->topLevelItemCount(), 4);
  const QStringList adapter = {"COM5", "ZEB KOM-Adapter", "V2.1", "ZEB01234", "frei"};
  for (int c = 0; c < adapter.size(); ++c) EXPECT_EQ(row(view, 2)->text(c), adapter[c]);
  EXPECT_EQ(row(view, 0)->text(0), "COM1");
  EXPECT_EQ(row(view, 0)->text(4), "belegt");
  EXPECT_EQ(row(view, 0)->text(1), "");

  EXPECT_EQ(view.GetCOMPort(), "");
  EXPECT_EQ(view.checkedKey(), "");

  // A new list replaces the old rows entirely.
  view.SetList({{false, 7, "", "", ""}});
  ASSERT_EQ(view.list()->topLevelItemCount(), 1);
  EXPECT_EQ(row(view, 0)->text(0), "COM7");
}

TEST(UcComListView, OneRowIsCheckedAtATime) {
  ucComListView view;
  view.SetList(samplePorts());
  userCheck(view, 1);
  EXPECT_EQ(view.GetCOMPort(), "COM3");
  EXPECT_EQ(view.checkedKey(), "K2");
  userCheck(view, 3);
  EXPECT_EQ(checks(view), (std::vector<bool>{false, false, false, true}));
  EXPECT_EQ(view.GetCOMPort(), "COM9");
  EXPECT_EQ(view.checkedKey(), "K4");

  EXPECT_TRUE(view.SetCOMPort("COM5"));
  EXPECT_EQ(checks(view), (std::vector<bool>{false, false, true, false}));
  // Only the exact port text matches.
  EXPECT_FALSE(view.SetCOMPort("COM"));
  EXPECT_FALSE(view.SetCOMPort("5"));
  EXPECT_FALSE(view.SetCOMPort("com5"));
  EXPECT_EQ(view.GetCOMPort(), "COM5");

  // Taking the check off an unlocked list leaves no port chosen.
  userCheck(view, 2, false);
  EXPECT_EQ(view.GetCOMPort(), "");
}

TEST(UcComListView, LockedListKeepsItsRowAndRefusesAFirstCheck) {
  ucComListView view;
  view.SetList(samplePorts());
  view.Locked(true);
  userCheck(view, 1);
  EXPECT_EQ(checks(view), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(view.GetCOMPort(), "");

  // The program itself still checks the port in use.
  EXPECT_TRUE(view.SetCOMPort("COM3"));
  EXPECT_EQ(view.GetCOMPort(), "COM3");
  userCheck(view, 2);
  EXPECT_EQ(checks(view), (std::vector<bool>{false, true, false, false}));
  userCheck(view, 1, false);
  EXPECT_EQ(checks(view), (std::vector<bool>{false, true, false, false}));
  EXPECT_EQ(view.GetCOMPort(), "COM3");

  // A click selects nothing in a locked list.
  view.list()->setCurrentItem(row(view, 2));
  row(view, 2)->setSelected(true);
  EXPECT_TRUE(view.list()->selectedItems().isEmpty());

  view.Locked(false);
  userCheck(view, 2);
  EXPECT_EQ(view.GetCOMPort(), "COM5");
}

TEST(UcComListView, BusyPortsAreRedAndALockedListGrey) {
  ucComListView view;
  view.SetList(samplePorts());
  const QColor normal = view.palette().color(QPalette::WindowText);
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(row(view, 0)->foreground(c).color(), QColor(Qt::red)) << c;
    EXPECT_EQ(row(view, 1)->foreground(c).color(), normal) << c;
  }
  view.Locked(true);
  const QColor grey = row(view, 0)->foreground(0).color();
  EXPECT_NE(grey, QColor(Qt::red));
  EXPECT_NE(grey, normal);
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 5; ++c) EXPECT_EQ(row(view, r)->foreground(c).color(), grey);
  }
  // A list filled while locked is grey at once.
  view.SetList(samplePorts());
  EXPECT_EQ(row(view, 0)->foreground(0).color(), grey);
  view.Locked(false);
  EXPECT_EQ(row(view, 3)->foreground(2).color(), QColor(Qt::red));
}

TEST(UcComListView, Screenshot) {
  ucComListView view;
  view.resize(460, 160);
  view.SetList(samplePorts());
  view.SetCOMPort("COM5");
  view.show();
  EXPECT_TRUE(uitest::saveShot(&view, "port_list"));
  view.Locked(true);
  EXPECT_TRUE(uitest::saveShot(&view, "port_list_locked"));
}

}  // namespace
}  // namespace viewers
