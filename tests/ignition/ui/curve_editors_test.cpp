// "Kennlinie editieren" for rpm (3100) and pressure (3370) entries, and the
// pressure dialog (156) that stores the pressure curves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>

#include "modules/ignition/ui/curve_edit_dialog.h"
#include "modules/ignition/ui/pressure_edit_dialog.h"
#include "modules/ignition/ui/pressure_settings_dialog.h"
#include "tests/ignition/ui/ignition_ui_support.h"

namespace ignition {
namespace {

using uitest::control;

std::vector<std::string> standardCurve() {
  CurveList list;
  list.setPoints({{800, 5}, {1000, 10}, {3000, 30}});
  return list.entries();
}

struct RpmEdit {
  RpmEdit(igntest::DialogBench& b, CurveEditState edit, int32_t offset)
      : dialog(b.stack, b.prompts, b.state.curve1, edit, offset, nullptr) {
    uitest::activate(&dialog);
  }
  void enter(int rpm, int angle) {
    dialog.rpmField()->setText(QString::number(rpm));
    dialog.angleField()->setText(QString::number(angle));
    uitest::click(&dialog, IgnitionDialog::kCommandOk);
  }
  CurveEditDialog dialog;
};

TEST(CurveEditDialog, NewEntriesAreRoundedAndRefusedWhenTheRpmIsListed) {
  struct Case {
    int rpm, angle;
    int32_t message;  // 0 = accepted
    const char* added;
  };
  const Case cases[] = {
      {1010, 5, 8011, nullptr},  // rounds to the listed 1000
      {1030, 7, 0, "01050 rpm   7"},    {149, 5, 8045, nullptr},   {12550, 5, 8045, nullptr},
      {12500, -40, 0, "12500 rpm -40"}, {2000, 41, 8045, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rpm);
    igntest::DialogBench b;
    b.state.curve1.setPoints({{800, 5}, {1000, 10}, {3000, 30}});
    RpmEdit e(b, CurveEditState{}, 0);
    e.enter(c.rpm, c.angle);
    if (c.message == 0) {
      EXPECT_TRUE(b.prompts.messages.empty());
      EXPECT_EQ(e.dialog.result(), QDialog::Accepted);
      std::vector<std::string> expected = standardCurve();
      expected.push_back(c.added);
      std::sort(expected.begin(), expected.end());
      EXPECT_EQ(b.state.curve1.entries(), expected);
    } else {
      EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{c.message});
      EXPECT_TRUE(e.dialog.isVisible());
      EXPECT_EQ(b.state.curve1.entries(), standardCurve());
    }
  }
}

TEST(CurveEditDialog, TheAngleCountsWithTheCurveShift) {
  igntest::DialogBench b;
  b.state.curve1.setPoints({{800, 5}, {1000, 10}, {3000, 30}});
  RpmEdit e(b, CurveEditState{3000, 30, 2}, 5);
  EXPECT_EQ(e.dialog.rpmField()->text(), QStringLiteral("3000"));
  EXPECT_EQ(e.dialog.angleField()->text(), QStringLiteral("30"));
  e.enter(3000, 38);  // the module would fire at 43 degrees
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8045});
  EXPECT_EQ(QApplication::focusWidget(), e.dialog.angleField());
  EXPECT_EQ(b.state.curve1.entries(), standardCurve());
  e.enter(3000, 35);
  EXPECT_EQ(e.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(b.state.curve1.entries().back(), "03000 rpm  35");
}

TEST(CurveEditDialog, ARefusedEditPutsTheOldEntryBack) {
  igntest::DialogBench b;
  b.state.curve1.setPoints({{800, 5}, {1000, 10}, {3000, 30}});
  RpmEdit e(b, CurveEditState{800, 5, 0}, 0);
  e.enter(1000, 12);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8011});
  EXPECT_EQ(b.state.curve1.entries(), standardCurve());
  e.enter(900, 6);
  EXPECT_EQ(e.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(b.state.curve1.entries().front(), "00900 rpm   6");
  EXPECT_EQ(b.state.curve1.size(), 3);
}

struct PressureEdit {
  PressureEdit(igntest::DialogBench& b, PressureList& list, CurveEditState edit, bool relative)
      : dialog(b.stack, b.prompts, list, edit, relative, nullptr) {
    uitest::activate(&dialog);
  }
  void enter(int mBar, int angle) {
    dialog.pressureField()->setText(QString::number(mBar));
    dialog.angleField()->setText(QString::number(angle));
    uitest::click(&dialog, IgnitionDialog::kCommandOk);
  }
  PressureEditDialog dialog;
};

TEST(PressureEditDialog, PressuresAreRoundedToTenAndChecked) {
  struct Case {
    bool relative;
    int mBar, angle;
    bool accepted;
    const char* listed;
  };
  const Case cases[] = {
      {false, 995, 5, true, "1000 mBar    5"},  {false, 2500, -20, true, "2500 mBar  -20"},
      {false, 2501, 0, false, nullptr},         {false, -1, 0, false, nullptr},
      {true, -990, 20, true, "-990 mBar   20"}, {true, -991, 0, false, nullptr},
      {true, 1500, 0, true, "1500 mBar    0"},  {true, 1501, 0, false, nullptr},
      {false, 500, 21, false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.relative << " " << c.mBar << " " << c.angle);
    igntest::DialogBench b;
    PressureList list;
    PressureEdit e(b, list, CurveEditState{}, c.relative);
    e.enter(c.mBar, c.angle);
    if (c.accepted) {
      EXPECT_EQ(e.dialog.result(), QDialog::Accepted);
      EXPECT_EQ(list.entries(), std::vector<std::string>{c.listed});
    } else {
      EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8045});
      EXPECT_TRUE(e.dialog.isVisible());
      EXPECT_TRUE(list.entries().empty());
    }
  }
}

TEST(PressureEditDialog, APressureAlreadyListedIsRefusedAfterClosing) {
  igntest::DialogBench b;
  PressureList list;
  list.insertPressureEntry(1000, 3);
  list.insertPressureEntry(500, 2);
  PressureEdit e(b, list, CurveEditState{500, 2, 1}, false);
  e.enter(1004, 9);  // rounds to the listed 1000
  EXPECT_EQ(e.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8045});
  EXPECT_EQ(list.entries(), (std::vector<std::string>{"1000 mBar    3", "0500 mBar    2"}));
}

// Dialog 156 with the record's pressure curves.
struct PressureDialog {
  explicit PressureDialog(igntest::DialogBench& b)
      : dialog(b.stack, b.prompts, b.state.record, nullptr) {
    uitest::activate(&dialog);
  }
  std::vector<QString> rows(int32_t id) const {
    std::vector<QString> out;
    QListWidget* list = dialog.list(id);
    for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text());
    return out;
  }
  QLineEdit* field(int32_t id) const { return control<QLineEdit>(&dialog, id); }
  PressureSettingsDialog dialog;
};

void setCurve(PressureCurve& curve, std::vector<std::pair<uint8_t, int8_t>> points) {
  curve.pressure.fill(kEndOfCurve);
  for (size_t i = 0; i < points.size(); ++i) {
    curve.pressure[i] = points[i].first;
    curve.angle[i] = points[i].second;
  }
}

TEST(PressureSettingsDialog, InsertedPointsKeepTheOrderAndAreStoredAscending) {
  igntest::DialogBench b;
  setCurve(b.state.record.UnterDruckA, {{0, 1}, {50, 2}, {100, 3}});
  setCurve(b.state.record.UnterDruckB, {{20, -4}});
  PressureDialog d(b);
  EXPECT_EQ(d.rows(PressureSettingsDialog::kListA),
            (std::vector<QString>{"1000 mBar    3", "0500 mBar    2", "0000 mBar    1"}));
  EXPECT_EQ(d.rows(PressureSettingsDialog::kListB), std::vector<QString>{"0200 mBar   -4"});
  EXPECT_EQ(d.dialog.activeList(), PressureSettingsDialog::kListA);

  uitest::onNextModal([](QWidget* editor) {
    uitest::setText(editor, PressureEditDialog::kPressureField, QStringLiteral("700"));
    uitest::setText(editor, PressureEditDialog::kAngleField, QStringLiteral("-5"));
    uitest::click(editor, IgnitionDialog::kCommandOk);
  });
  uitest::click(&d.dialog, PressureSettingsDialog::kInsertButton);
  EXPECT_EQ(d.rows(PressureSettingsDialog::kListA),
            (std::vector<QString>{"1000 mBar    3", "0700 mBar   -5", "0500 mBar    2",
                                  "0000 mBar    1"}));

  uitest::click(&d.dialog, IgnitionDialog::kCommandOk);
  ASSERT_EQ(d.dialog.result(), QDialog::Accepted);
  const PressureCurve& a = b.state.record.UnterDruckA;
  EXPECT_EQ(std::vector<uint8_t>(a.pressure.begin(), a.pressure.begin() + 5),
            (std::vector<uint8_t>{0, 50, 70, 100, 255}));
  EXPECT_EQ(std::vector<int8_t>(a.angle.begin(), a.angle.begin() + 4),
            (std::vector<int8_t>{1, 2, -5, 3}));
  EXPECT_EQ(b.state.record.UnterDruckB.pressure[0], 20);
  EXPECT_EQ(b.state.record.UnterDruckB.pressure[1], 255);
}

TEST(PressureSettingsDialog, TheListThatGetsTheFocusIsTheOneEdited) {
  igntest::DialogBench b;
  setCurve(b.state.record.UnterDruckA, {{0, 1}, {50, 2}, {100, 3}});
  setCurve(b.state.record.UnterDruckB, {{20, -4}, {60, 4}});
  PressureDialog d(b);
  QListWidget* listA = d.dialog.list(PressureSettingsDialog::kListA);
  QListWidget* listB = d.dialog.list(PressureSettingsDialog::kListB);
  listA->setFocus(Qt::MouseFocusReason);
  listA->setCurrentRow(1);
  listB->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(d.dialog.activeList(), PressureSettingsDialog::kListB);
  EXPECT_TRUE(listA->selectedItems().isEmpty());
  listB->setCurrentRow(1);  // 0200 mBar
  uitest::click(&d.dialog, PressureSettingsDialog::kDeleteButton);
  EXPECT_EQ(d.rows(PressureSettingsDialog::kListB), std::vector<QString>{"0600 mBar    4"});
  EXPECT_EQ(d.rows(PressureSettingsDialog::kListA).size(), 3u);
  EXPECT_EQ(listB->currentRow(), 0);
}

TEST(PressureSettingsDialog, SensorFactorAboveByteRangeIsStoredHalved) {
  igntest::DialogBench b;
  b.state.record.FlagsB = 0x91;  // bits the dialog does not own
  {
    PressureDialog d(b);
    EXPECT_EQ(d.field(PressureSettingsDialog::kFactorField)->text(), QStringLiteral("122"));
    uitest::typeAndLeave(d.field(PressureSettingsDialog::kFactorField), QStringLiteral("511"),
                         d.field(PressureSettingsDialog::kOffsetField));
    uitest::typeAndLeave(d.field(PressureSettingsDialog::kFactorField), QStringLiteral("300"),
                         d.field(PressureSettingsDialog::kOffsetField));
    uitest::typeAndLeave(d.field(PressureSettingsDialog::kOffsetField), QStringLiteral("4"),
                         d.field(PressureSettingsDialog::kFactorField));
    EXPECT_EQ(b.prompts.messages, (std::vector<int32_t>{8045, 8045}));
    d.field(PressureSettingsDialog::kOffsetField)->setText(QStringLiteral("130"));
    uitest::click(&d.dialog, IgnitionDialog::kCommandOk);
    ASSERT_EQ(d.dialog.result(), QDialog::Accepted);
  }
  EXPECT_EQ(b.state.record.UnterDruckSensorF, 150);
  EXPECT_EQ(b.state.record.UnterDruckSensorC, 130);
  EXPECT_EQ(b.state.record.FlagsB, 0x91 | bits::kFlagsBFactorHalved);
  PressureDialog again(b);
  EXPECT_EQ(again.field(PressureSettingsDialog::kFactorField)->text(), QStringLiteral("300"));
  again.field(PressureSettingsDialog::kFactorField)->setText(QStringLiteral("255"));
  uitest::click(&again.dialog, IgnitionDialog::kCommandOk);
  EXPECT_EQ(b.state.record.UnterDruckSensorF, 255);
  EXPECT_EQ(b.state.record.FlagsB, 0x91);
}

TEST(PressureSettingsDialog, SwitchingToRelativeKeepsTheStoredBytes) {
  igntest::DialogBench b;
  setCurve(b.state.record.UnterDruckA, {{0, 1}, {150, 2}});
  {
    PressureDialog d(b);
    control<QCheckBox>(&d.dialog, PressureSettingsDialog::kRelativeBox)->setChecked(true);
    uitest::click(&d.dialog, IgnitionDialog::kCommandOk);
  }
  EXPECT_TRUE(b.state.record.relativePressure());
  EXPECT_EQ(b.state.record.UnterDruckA.pressure[0], 0);
  EXPECT_EQ(b.state.record.UnterDruckA.pressure[1], 150);
  PressureDialog again(b);
  EXPECT_EQ(again.rows(PressureSettingsDialog::kListA),
            (std::vector<QString>{"0500 mBar    2", "-1000 mBar    1"}));
}

}  // namespace
}  // namespace ignition
