// A dialog declared as a table: the controls it gets, where their clicks
// go, and the checks of its fields when they lose the focus.
#include "shell/ui/dialog_table.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "shell/scripted_prompts.h"
#include "shell/ui/qt_field_checks.h"
#include "tests/support/ui_test_support.h"

namespace {

constexpr int32_t kOk = 1;
constexpr int32_t kCancel = 2;
constexpr int32_t kSpeed = 10;
constexpr int32_t kCharge = 11;
constexpr int32_t kChargeShown = 12;
constexpr int32_t kShift = 13;
constexpr int32_t kName = 14;
constexpr int32_t kInductive = 15;
constexpr int32_t kTdc = 16;
constexpr int32_t kCrank = 17;
constexpr int32_t kPotiOff = 18;
constexpr int32_t kPotiOn = 19;
constexpr int32_t kMore = 20;
constexpr int32_t kOffsetLabel = 21;
constexpr int32_t kCurve = 22;
constexpr int32_t kMode = 23;

constexpr shell::ControlRow kRows[] = {
    shell::numberField(kSpeed, "Drehzahl", 5, {150, 12500}, 8681),
    shell::fixedField(kCharge, "Ladezeit", 3, 1, {7, 50}, 8659),
    shell::readOnly(shell::fixedField(kChargeShown, "", 3, 1)),
    shell::numberField(kShift, "Versatz", 3, shell::kCheckedByRule, 8669),
    shell::textField(kName, "Name", 8),
    shell::checkBox(kInductive, "induktiv", 8641),
    shell::radioButton(kTdc, "OT-Geber", "Geber", 8671),
    shell::radioButton(kCrank, "KW-Geber", "Geber", 8656),
    shell::radioButton(kPotiOff, "aus", "Poti"),
    shell::radioButton(kPotiOn, "ein", "Poti"),
    shell::pushButton(kMore, "erweitert", 8630),
    shell::label(kOffsetLabel, "Offset"),
    shell::list(kCurve, "Druckkurve 1", 8692),
    shell::comboBox(kMode, "Gebermodus", 8637),
    shell::okButton(kOk, "OK"),
    shell::cancelButton(kCancel, "Abbruch"),
};

// The dialog a module would write: its table, a handler that records the
// commands, and "OK" that checks every field first.
struct TableDialog : QDialog {
  explicit TableDialog(shell::UserPrompts& prompts)
      : table(this, kRows, prompts, [this](int32_t id) { handle(id); }) {}
  void handle(int32_t id) {
    sent.push_back(id);
    if (id == kOk && table.checks().checkAll()) accept();
  }
  QLineEdit* field(int32_t id) const { return table.field(id); }
  shell::DialogTable table;
  std::vector<int32_t> sent;
};

// The dialog up and active, its range-checked fields holding values they
// accept.
struct Bench {
  Bench() {
    dialog.table.setNumber(kSpeed, 1000);
    dialog.table.setFixed(kCharge, 20);
    uitest::activate(&dialog);
  }
  shell::ScriptedPrompts prompts;
  TableDialog dialog{prompts};
};

TEST(DialogTable, BuildsEveryRowWithItsNumberCaptionAndTooltip) {
  Bench b;
  struct Row {
    int32_t id;
    const char* className;
    const char* text;  // the control's own text, or its caption
    const char* tooltip;
  };
  const Row rows[] = {
      {kSpeed, "QLineEdit", "Drehzahl", "Drehzahl\nWertebereich: 150 - 12500 1/min"},
      {kShift, "QLineEdit", "Versatz", "Versatz zwischen Gebersignal und OT in Grad"},
      {kName, "QLineEdit", "Name", ""},
      {kInductive, "QCheckBox", "induktiv", nullptr},
      {kCrank, "QRadioButton", "KW-Geber", nullptr},
      {kMore, "QPushButton", "erweitert", nullptr},
      {kOffsetLabel, "QLabel", "Offset", ""},
      {kCurve, "QListWidget", "Druckkurve 1", nullptr},
      {kMode, "QComboBox", "Gebermodus", nullptr},
      {kOk, "QPushButton", "OK", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    QWidget* w = shell::findControl(&b.dialog, r.id);
    ASSERT_NE(w, nullptr);
    EXPECT_STREQ(w->metaObject()->className(), r.className);
    EXPECT_EQ(b.dialog.table.control(r.id), w);
    const auto* button = qobject_cast<QAbstractButton*>(w);
    const auto* label = qobject_cast<QLabel*>(w);
    const QString text = button  ? button->text()
                         : label ? label->text()
                                 : b.dialog.table.caption(r.id)->text();
    EXPECT_EQ(text, QString::fromUtf8(r.text));
    if (r.tooltip != nullptr) {
      EXPECT_EQ(w->toolTip(), QString::fromUtf8(r.tooltip));
    }
  }
  EXPECT_FALSE(b.dialog.table.button(kInductive)->toolTip().isEmpty());
  EXPECT_EQ(shell::findControl(&b.dialog, 99), nullptr);
  EXPECT_EQ(b.dialog.table.control(99), nullptr);
  EXPECT_TRUE(qobject_cast<QPushButton*>(b.dialog.table.control(kOk))->isDefault());
  EXPECT_FALSE(qobject_cast<QPushButton*>(b.dialog.table.control(kMore))->isDefault());
  // The caption is one static text, made once.
  EXPECT_EQ(b.dialog.table.caption(kSpeed), b.dialog.table.caption(kSpeed));

  QLineEdit* shown = b.dialog.field(kChargeShown);
  EXPECT_TRUE(shown->isReadOnly());
  EXPECT_EQ(shown->focusPolicy(), Qt::NoFocus);
  b.dialog.table.setFixed(kChargeShown, 25);
  EXPECT_EQ(shown->text(), QStringLiteral("2,5"));
  EXPECT_EQ(b.dialog.table.fixed(kChargeShown), 25);
}

TEST(DialogTable, FieldsTakeTheirCharactersButShowStoredValuesWhole) {
  Bench b;
  struct Case {
    int32_t id;
    const char* typed;
    const char* kept;
  };
  const Case cases[] = {
      {kSpeed, "1234567", "12345"},
      {kCharge, "12,34", "12,"},
      {kName, "Zuendung 1", "Zuendung"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    QLineEdit* field = b.dialog.field(c.id);
    field->clear();
    field->setFocus();
    QTest::keyClicks(field, QString::fromUtf8(c.typed));
    EXPECT_EQ(field->text(), QString::fromUtf8(c.kept));
  }
  // A value the program puts in is not cut: its check must see all of it.
  b.dialog.table.setNumber(kSpeed, -100000);
  EXPECT_EQ(b.dialog.field(kSpeed)->text(), QStringLiteral("-100000"));
  EXPECT_EQ(b.dialog.table.number(kSpeed), -100000);
}

TEST(DialogTable, ClicksReachTheHandlerWithTheControlNumber) {
  Bench b;
  for (int32_t id : {kMore, kInductive, kCrank, kPotiOn, kTdc, kCancel}) {
    uitest::click(&b.dialog, id);
  }
  EXPECT_EQ(b.dialog.sent,
            (std::vector<int32_t>{kMore, kInductive, kCrank, kPotiOn, kTdc, kCancel}));
  // Radio buttons switch within their own group only.
  EXPECT_TRUE(b.dialog.table.isChecked(kTdc));
  EXPECT_FALSE(b.dialog.table.isChecked(kCrank));
  EXPECT_TRUE(b.dialog.table.isChecked(kPotiOn));
  EXPECT_TRUE(b.dialog.table.isChecked(kInductive));
}

TEST(DialogTable, AFieldOutOfRangeIsReportedAndKeepsTheFocus) {
  Bench b;
  // Leaving for the combo box, which has no check of its own.
  QWidget* next = b.dialog.table.control(kMode);
  struct Case {
    int32_t id;
    const char* typed;
    bool refused;
  };
  const Case cases[] = {
      {kSpeed, "149", true},
      {kSpeed, "12501", true},
      {kSpeed, "15a", true},
      {kSpeed, "", true},
      {kSpeed, "150", false},
      {kSpeed, " 12500 ", false},
      // Tenths: 0,6 ms is below 0,7; text that is no number reads as 0.
      {kCharge, "0,6", true},
      {kCharge, "5,1", true},
      {kCharge, "x", true},
      {kCharge, "0,7", false},
      {kCharge, "5", false},
      // No range, no check.
      {kName, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    QLineEdit* field = b.dialog.field(c.id);
    b.prompts.messages.clear();
    uitest::typeAndLeave(field, QString::fromUtf8(c.typed), next);
    if (c.refused) {
      EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8045});
      EXPECT_EQ(QApplication::focusWidget(), field);
      // Corrected, so that the next case starts from a dialog that passes.
      uitest::typeAndLeave(field, c.id == kSpeed ? QStringLiteral("1000") : QStringLiteral("2,0"),
                           next);
      EXPECT_EQ(b.prompts.messages.size(), 1u);
    } else {
      EXPECT_TRUE(b.prompts.messages.empty());
      EXPECT_EQ(QApplication::focusWidget(), next);
    }
  }
}

TEST(DialogTable, OnlyTheFailingFieldIsCheckedUntilItPasses) {
  Bench b;
  QLineEdit* speed = b.dialog.field(kSpeed);
  QLineEdit* charge = b.dialog.field(kCharge);
  charge->setText(QStringLiteral("99"));
  // The focus bounces back from the bad charge time without checking it.
  uitest::typeAndLeave(speed, QStringLiteral("100"), charge);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8045});
  EXPECT_EQ(b.dialog.table.checks().failingField(), speed);
  EXPECT_EQ(QApplication::focusWidget(), speed);
  EXPECT_TRUE(b.dialog.table.checks().check(charge));
  EXPECT_EQ(b.prompts.messages.size(), 1u);
  // Once the first passes, the other counts again.
  uitest::typeAndLeave(speed, QStringLiteral("1000"), charge);
  EXPECT_EQ(b.prompts.messages.size(), 1u);
  uitest::leave(charge, speed);
  EXPECT_EQ(b.prompts.messages.size(), 2u);
  EXPECT_EQ(QApplication::focusWidget(), charge);
  EXPECT_EQ(b.dialog.table.checks().failingField(), charge);
}

TEST(DialogTable, OkChecksEveryEnabledFieldAndAbbruchNone) {
  Bench b;
  b.dialog.table.setRule(kShift, [](int32_t) { return true; });
  b.dialog.table.setNumber(kShift, 0);
  QLineEdit* speed = b.dialog.field(kSpeed);
  speed->setFocus();
  speed->setText(QStringLiteral("100"));
  // Leaving a field for "Abbruch" or "OK" is no reason to check it.
  b.dialog.table.control(kCancel)->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  b.dialog.table.control(kOk)->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  EXPECT_TRUE(b.prompts.messages.empty());
  // "OK" checks the field that had the focus and stays open.
  uitest::click(&b.dialog, kOk);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8045});
  EXPECT_EQ(QApplication::focusWidget(), speed);
  EXPECT_NE(b.dialog.result(), QDialog::Accepted);

  // An unfocused bad field stops "OK" too, unless it is disabled.
  speed->setText(QStringLiteral("3000"));
  b.dialog.field(kCharge)->setText(QStringLiteral("0,1"));
  b.dialog.table.control(kOk)->setFocus(Qt::TabFocusReason);
  uitest::click(&b.dialog, kOk);
  EXPECT_EQ(b.prompts.messages.size(), 2u);
  EXPECT_EQ(QApplication::focusWidget(), b.dialog.field(kCharge));
  b.dialog.field(kCharge)->setEnabled(false);
  uitest::click(&b.dialog, kOk);
  EXPECT_EQ(b.prompts.messages.size(), 2u);
  EXPECT_EQ(b.dialog.result(), QDialog::Accepted);
}

TEST(DialogTable, RulesBesideTheTableAndTheDialogsOwnReport) {
  Bench b;
  QLineEdit* shift = b.dialog.field(kShift);
  QLineEdit* name = b.dialog.field(kName);
  // Declared as checked by a rule, but none given: nothing passes.
  uitest::typeAndLeave(shift, QStringLiteral("0"), name);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8045});

  // A range that depends on another control of the dialog.
  b.dialog.table.setRule(kShift, [&b](int32_t v) {
    return b.dialog.table.isChecked(kCrank) ? v >= -54 && v <= 199 : v >= 0 && v <= 179;
  });
  // This dialog shows the rejected number instead of the message.
  b.dialog.table.setReport([&b](int32_t shown) { b.prompts.showNumber(shown); });
  uitest::typeAndLeave(shift, QStringLiteral("-20"), name);
  uitest::click(&b.dialog, kCrank);
  uitest::typeAndLeave(shift, QStringLiteral("-20"), name);
  uitest::typeAndLeave(shift, QStringLiteral("2x"), name);
  uitest::typeAndLeave(shift, QStringLiteral("199"), name);
  EXPECT_EQ(b.prompts.numbers, (std::vector<int32_t>{-20, 0}));

  // A rule's own report wins over the dialog's.
  b.dialog.table.setRule(
      kShift, [](int32_t v) { return v == 2 || v == 4; },
      [&b](int32_t) { b.prompts.showNumber(10000); });
  uitest::typeAndLeave(shift, QStringLiteral("3"), name);
  EXPECT_EQ(b.prompts.numbers, (std::vector<int32_t>{-20, 0, 10000}));
  EXPECT_EQ(b.prompts.messages.size(), 1u);
}

}  // namespace
