// "Zündungs-Einstellungen": the offset field by firmware and mode, the field
// checks, and what saving stores and keeps.
#include "modules/ignition/ui/basic_settings_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "shell/ui/qt_field_checks.h"
#include "shell/ui/qt_prompts.h"
#include "tests/ignition/ui/ignition_ui_support.h"

namespace ignition {
namespace {

using D = BasicSettingsDialog;
using uitest::control;

struct Open {
  explicit Open(igntest::DialogBench& b)
      : dialog(b.stack, b.prompts, b.state, offsetIsVersatz, nullptr) {
    uitest::activate(&dialog);
  }
  QLineEdit* field(int32_t id) const { return control<QLineEdit>(&dialog, id); }
  QAbstractButton* button(int32_t id) const { return control<QAbstractButton>(&dialog, id); }
  QWidget* okButton() const { return button(IgnitionDialog::kCommandOk); }
  int32_t offsetIsVersatz = 1;
  D dialog;
};

TEST(BasicSettingsDialog, OffsetFieldFollowsTheFirmware) {
  struct Case {
    int32_t firmware;
    uint8_t flags, flagsB, cylinders;
    int32_t value;
    bool accepted;
  };
  const Case cases[] = {
      // Before 3.3 the field is the curve shift.
      {0x302, 0, 0, 4, -10, true},
      {0x302, 0, 0, 4, 10, true},
      {0x302, 0, 0, 4, 11, false},
      {0x302, 0, 0, 4, -11, false},
      // From 3.3 on it is the free offset: one firing interval.
      {0x303, bits::kFlagsFreeOffset, 0, 4, 179, true},
      {0x303, bits::kFlagsFreeOffset, 0, 4, 180, false},
      {0x303, bits::kFlagsFreeOffset, 0, 4, -1, false},
      {0x303, bits::kFlagsFreeOffset, 0, 6, 119, true},
      {0x303, bits::kFlagsFreeOffset, 0, 6, 120, false},
      // A file may hold no cylinders; the range must still be computable.
      {0x303, bits::kFlagsFreeOffset, 0, 0, 199, true},
      // Stored bytes from 200 on mean negative angles: a single or a twin
      // may not reach them.
      {0x303, bits::kFlagsFreeOffset, 0, 1, 200, false},
      {0x303, bits::kFlagsFreeOffset, 0, 2, 199, true},
      {0x303, bits::kFlagsFreeOffset, 0, 2, 250, false},
      // Before 3.3 a crankshaft sender does not widen the curve shift.
      {0x302, 0, bits::kFlagsBCrankSender, 4, 11, false},
      // A crankshaft sender may sit before or after top dead centre.
      {0x303, 0, bits::kFlagsBCrankSender, 4, -54, true},
      {0x303, 0, bits::kFlagsBCrankSender, 4, 199, true},
      {0x303, 0, bits::kFlagsBCrankSender, 4, -55, false},
      {0x303, 0, bits::kFlagsBCrankSender, 4, 200, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.firmware << std::dec << " " << c.value);
    igntest::DialogBench b;
    b.state.record.firmwareVersion = c.firmware;
    b.state.record.Flags = c.flags;
    b.state.record.FlagsB = c.flagsB;
    b.state.record.Zylinder = c.cylinders;
    Open o(b);
    EXPECT_EQ(control<QLabel>(&o.dialog, D::kOffsetLabel)->text(),
              c.firmware < 0x303 ? QStringLiteral("Offset") : QStringLiteral("Versatz"));
    EXPECT_EQ(o.offsetIsVersatz, c.firmware < 0x303 ? 0 : 1);
    ASSERT_TRUE(o.field(D::kOffsetField)->isEnabled());
    // The range follows the record's cylinders, not the field's.
    o.field(D::kCylinders)->setText(QStringLiteral("4"));
    uitest::typeAndLeave(o.field(D::kOffsetField), QString::number(c.value),
                         o.field(D::kCylinders));
    if (c.accepted) {
      EXPECT_TRUE(b.prompts.numbers.empty());
    } else {
      EXPECT_EQ(b.prompts.numbers, std::vector<int32_t>{c.value});
      EXPECT_EQ(QApplication::focusWidget(), o.field(D::kOffsetField));
    }
  }
}

TEST(BasicSettingsDialog, StoredValuesWiderThanTheirFieldAreShownWhole) {
  igntest::DialogBench b;
  b.state.record.Takte = 255;
  Open o(b);
  // Cut to its first character, 255 would read as 2 and pass.
  EXPECT_EQ(o.field(D::kStrokes)->text(), QStringLiteral("255"));
  o.field(D::kStrokes)->setFocus();
  o.button(IgnitionDialog::kCommandOk)->click();
  EXPECT_NE(o.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(b.state.record.Takte, 255);
}

TEST(BasicSettingsDialog, ExtendedOpensOnlyWithAFormThatPasses) {
  igntest::DialogBench b;
  b.state.record.Zylinder = 4;
  Open o(b);
  o.field(D::kCylinders)->setText(QStringLiteral("99"));
  // Should 151 open anyway, close it so the test cannot hang.
  QTimer::singleShot(200, [] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
    }
  });
  o.button(D::kExtended)->click();
  EXPECT_EQ(b.state.record.Zylinder, 4) << "an unchecked value reached the record";
  EXPECT_FALSE(b.prompts.numbers.empty() && b.prompts.messages.empty()) << "the refusal is shown";
}

TEST(BasicSettingsDialog, EarlySenderSetsFiftyAndSavesIt) {
  igntest::DialogBench b;
  b.state.record.firmwareVersion = 0x803;
  b.state.record.Flags = bits::kFlagsFreeOffset;
  b.state.record.Versatz = 20;
  Open o(b);
  EXPECT_EQ(o.field(D::kOffsetField)->text(), QStringLiteral("20"));
  o.button(D::kModeEarly)->click();
  EXPECT_EQ(o.field(D::kOffsetField)->text(), QStringLiteral("50"));
  EXPECT_FALSE(o.field(D::kOffsetField)->isEnabled());
  EXPECT_FALSE(o.field(D::kTeeth)->isEnabled());
  o.button(D::kModeFreeOffset)->click();
  EXPECT_TRUE(o.field(D::kOffsetField)->isEnabled());
  o.button(D::kModeEarly)->click();
  o.button(IgnitionDialog::kCommandOk)->click();
  EXPECT_EQ(o.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(b.state.record.Flags & (bits::kFlagsEarlySender | bits::kFlagsFreeOffset),
            bits::kFlagsEarlySender);
  EXPECT_EQ(b.state.record.Versatz, 50);
}

TEST(BasicSettingsDialog, EarlySenderLeavesTheCurveShiftOfOldFirmwareAlone) {
  // Before 3.3 the field holds `Offset`, -10..+10; a sender mode must not
  // put 50 into it.
  igntest::DialogBench b;
  b.state.record.firmwareVersion = 0x302;
  b.state.record.Offset = -4;
  Open o(b);
  o.button(D::kModeEarly)->click();
  EXPECT_EQ(o.field(D::kOffsetField)->text(), QStringLiteral("-4"));
  EXPECT_TRUE(o.field(D::kOffsetField)->isEnabled());
  o.button(IgnitionDialog::kCommandOk)->click();
  EXPECT_EQ(o.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(b.state.record.Offset, -4);
  EXPECT_EQ(b.state.record.Versatz, 0);
  EXPECT_TRUE(b.state.record.Flags & bits::kFlagsEarlySender);
}

TEST(BasicSettingsDialog, TeethMustBeAMultipleOfTheSparksPerRevolution) {
  struct Case {
    int cylinders;
    bool wasteSpark;
    int teeth;
    bool accepted;
  };
  const Case cases[] = {
      {4, true, 60, true},  // 2 sparks per revolution
      {6, false, 60, true},
      {6, false, 64, false},
      {1, true, 60, false},  // half a cylinder
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cylinders << " " << c.wasteSpark << " " << c.teeth);
    igntest::DialogBench b;
    b.state.record.FlagsB = bits::kFlagsBCrankSender;
    Open o(b);
    o.field(D::kCylinders)->setText(QString::number(c.cylinders));
    o.field(D::kTeeth)->setText(QString::number(c.teeth));
    o.field(D::kOffsetField)->setText(QStringLiteral("10"));
    control<QCheckBox>(&o.dialog, D::kWasteSpark)->setChecked(c.wasteSpark);
    const IgnitionRecord before = b.state.record;
    o.button(IgnitionDialog::kCommandOk)->click();
    if (c.accepted) {
      EXPECT_TRUE(b.prompts.messages.empty());
      EXPECT_EQ(o.dialog.result(), QDialog::Accepted);
      EXPECT_EQ(b.state.record.KwZaehne, c.teeth);
      EXPECT_EQ(b.state.record.Zylinder, c.wasteSpark ? c.cylinders / 2 : c.cylinders);
    } else {
      EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8076});
      EXPECT_TRUE(o.dialog.isVisible());
      EXPECT_EQ(b.state.record.KwZaehne, before.KwZaehne);
      EXPECT_EQ(b.state.record.Zylinder, before.Zylinder);
      EXPECT_EQ(b.state.record.FlagsB, before.FlagsB);
    }
  }
}

TEST(BasicSettingsDialog, RejectedFieldsShowTheirNumberAndKeepTheFocus) {
  igntest::DialogBench b;
  Open o(b);
  QLineEdit* strokes = o.field(D::kStrokes);
  QLineEdit* cylinders = o.field(D::kCylinders);
  uitest::typeAndLeave(strokes, QStringLiteral("3"), cylinders);
  EXPECT_EQ(b.prompts.numbers, std::vector<int32_t>{10000});
  EXPECT_EQ(QApplication::focusWidget(), strokes);

  // While the strokes are wrong no other field is checked.
  cylinders->setText(QStringLiteral("13"));
  EXPECT_TRUE(o.dialog.checks().check(cylinders));
  EXPECT_EQ(b.prompts.numbers.size(), 1u);

  uitest::typeAndLeave(strokes, QStringLiteral("2"), cylinders);
  EXPECT_EQ(b.prompts.numbers.size(), 1u);
  // Now the cylinders count again; "OK" checks the focused field first.
  cylinders->setFocus(Qt::TabFocusReason);
  o.button(IgnitionDialog::kCommandOk)->click();
  EXPECT_EQ(b.prompts.numbers, (std::vector<int32_t>{10000, 13}));
  EXPECT_TRUE(o.dialog.isVisible());
  EXPECT_EQ(b.state.record.Takte, 4) << "nothing saved";

  // Text that is no number fails too; the charge time is checked in tenths.
  uitest::typeAndLeave(cylinders, QStringLiteral("4"), strokes);
  uitest::typeAndLeave(o.field(D::kChargeTime), QStringLiteral("5,1"), strokes);
  uitest::typeAndLeave(o.field(D::kChargeTime), QStringLiteral("0,7"), strokes);
  uitest::typeAndLeave(cylinders, QStringLiteral("x"), strokes);
  EXPECT_EQ(b.prompts.numbers, (std::vector<int32_t>{10000, 13, 51, 0}));
  uitest::typeAndLeave(cylinders, QStringLiteral("4"), strokes);
  o.button(IgnitionDialog::kCommandOk)->click();
  EXPECT_EQ(o.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(b.state.record.Ladezeit, 7);
  EXPECT_EQ(b.state.record.Takte, 2);
}

// Closes every message box that comes up while it lives and keeps its text;
// then gives `owner` the activation back, as a window manager does.
struct MessageBoxes {
  explicit MessageBoxes(QWidget* owner) : owner(owner) { poll(); }
  void poll() {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      texts.push_back(box->text());
      box->accept();
      box->hide();
      owner->activateWindow();
    }
    if (!done) QTimer::singleShot(10, [this] { poll(); });
  }
  ~MessageBoxes() {
    done = true;
    QTest::qWait(30);
  }
  QWidget* owner;
  std::vector<QString> texts;
  bool done = false;
};

TEST(BasicSettingsDialog, ARealMessageBoxTriggersNoFurtherChecks) {
  // The box takes the focus from the dialog and gives it back; neither may
  // count as leaving a field, or the boxes would never stop.
  buslink::ModuleLink link;
  shell::QtPrompts prompts(link);
  igntest::DialogBench b;
  int32_t offsetIsVersatz = 1;
  D dialog(b.stack, prompts, b.state, offsetIsVersatz, nullptr);
  uitest::activate(&dialog);
  auto* strokes = control<QLineEdit>(&dialog, D::kStrokes);
  auto* cylinders = control<QLineEdit>(&dialog, D::kCylinders);
  strokes->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  cylinders->setText(QStringLiteral("13"));
  std::vector<QString> shown;
  {
    MessageBoxes boxes(&dialog);
    strokes->setText(QStringLiteral("3"));
    cylinders->setFocus(Qt::TabFocusReason);
    QTest::qWait(200);
    shown = boxes.texts;
  }
  EXPECT_EQ(shown, std::vector<QString>{QStringLiteral("10000")});
  EXPECT_EQ(QApplication::focusWidget(), strokes);
  EXPECT_EQ(dialog.checks().failingField(), strokes);
}

TEST(BasicSettingsDialog, SavingKeepsTheBitsItDoesNotShow) {
  struct Case {
    uint8_t flags, flagsB;
    bool check;  // every box of the dialog checked, crankshaft mode; else all clear, TDC
    uint8_t savedFlags, savedFlagsB;
  };
  const Case cases[] = {
      {0x93, 0xF4, true, 0x93 | 0x08 | 0x20, 0xF4 | 0x01 | 0x02 | 0x08},
      {0xFF, 0xFF, false, 0x93, 0xF4},
      {0x00, 0x00, true, 0x08 | 0x20, 0x01 | 0x02 | 0x08},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.flags) << " " << int(c.flagsB));
    igntest::DialogBench b;
    b.state.record.Flags = c.flags;
    b.state.record.FlagsB = c.flagsB;
    b.state.record.Zylinder = 2;  // shown as 4 with waste spark
    b.state.record.Takte = 2;
    Open o(b);
    for (int32_t id : {D::kInductive, D::kInverted, D::kMultiChannel, D::kWasteSpark}) {
      control<QCheckBox>(&o.dialog, id)->setChecked(c.check);
    }
    o.button(c.check ? D::kModeCrank : D::kModeTdc)->click();
    o.field(D::kCylinders)->setText(QStringLiteral("4"));
    o.field(D::kStrokes)->setText(QStringLiteral("4"));
    o.button(IgnitionDialog::kCommandOk)->click();
    ASSERT_EQ(o.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(b.state.record.Flags, c.savedFlags);
    EXPECT_EQ(b.state.record.FlagsB, c.savedFlagsB);
    EXPECT_EQ(b.state.record.Zylinder, c.check ? 2 : 4);
    EXPECT_EQ(b.state.record.Takte, c.check ? 2 : 4);
  }
}

TEST(BasicSettingsDialog, QuickStartAndDirectModeLockTheSenderChoices) {
  igntest::DialogBench b;
  b.state.record.FlagsC = bits::kFlagsCQuickStart;
  {
    Open o(b);
    EXPECT_FALSE(o.button(D::kMultiChannel)->isEnabled());
    EXPECT_FALSE(o.button(D::kWasteSpark)->isEnabled());
    EXPECT_FALSE(o.button(D::kModeCrank)->isEnabled());
    EXPECT_TRUE(o.button(D::kModeEarly)->isEnabled());
  }
  b.state.record.FlagsC = bits::kFlagsCDirectMode;
  b.state.record.directModeActive = 1;
  Open o(b);
  for (int32_t id : {D::kModeTdc, D::kModeEarly, D::kModeFreeOffset, D::kModeCrank,
                     D::kMultiChannel, D::kWasteSpark}) {
    EXPECT_FALSE(o.button(id)->isEnabled()) << id;
  }
  for (int32_t id : {D::kTeeth, D::kGap, D::kOffsetField}) {
    EXPECT_FALSE(o.field(id)->isEnabled()) << id;
  }
}

}  // namespace
}  // namespace ignition
