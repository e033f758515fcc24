// "Zündung erweiterte Einstellungen": the quick-start rule, the shift light,
// logging against the external display, and the bits saving keeps.
#include "modules/ignition/ui/extended_settings_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "tests/ignition/ui/ignition_ui_support.h"

namespace ignition {
namespace {

using D = ExtendedSettingsDialog;
using uitest::control;

struct Open {
  explicit Open(igntest::DialogBench& b) : dialog(b.stack, b.prompts, b.state.record, nullptr) {
    uitest::activate(&dialog);
  }
  QCheckBox* box(int32_t id) const { return control<QCheckBox>(&dialog, id); }
  QLineEdit* field(int32_t id) const { return control<QLineEdit>(&dialog, id); }
  void ok() const { uitest::click(&dialog, IgnitionDialog::kCommandOk); }
  D dialog;
};

TEST(ExtendedSettingsDialog, QuickStartExcludesCamDetectionAndMultiChannel) {
  igntest::DialogBench b;
  b.state.record.FlagsB = bits::kFlagsBMultiChannel;
  b.state.record.FlagsC = bits::kFlagsCQuickStart;
  {
    Open o(b);
    EXPECT_FALSE(o.box(D::kQuickStart)->isEnabled());
    EXPECT_FALSE(o.box(D::kQuickStart)->isChecked());
    EXPECT_TRUE(o.box(D::kCamDetection)->isEnabled());
    o.ok();
    EXPECT_EQ(b.state.record.FlagsC & bits::kFlagsCQuickStart, 0);
  }

  b.state.record.FlagsB = 0;
  Open o(b);
  ASSERT_TRUE(o.box(D::kQuickStart)->isEnabled());
  o.box(D::kCamDetection)->click();
  EXPECT_FALSE(o.box(D::kQuickStart)->isEnabled());
  o.box(D::kCamDetection)->click();
  EXPECT_TRUE(o.box(D::kQuickStart)->isEnabled());
  o.box(D::kQuickStart)->click();
  EXPECT_FALSE(o.box(D::kCamDetection)->isEnabled());
  o.box(D::kQuickStart)->click();
  EXPECT_TRUE(o.box(D::kCamDetection)->isEnabled());
}

TEST(ExtendedSettingsDialog, ShiftLightIsRoundedAndChecked) {
  igntest::DialogBench b;
  Open o(b);
  QLineEdit* shift = o.field(D::kShiftLight);
  QLineEdit* start = o.field(D::kStartCount);
  uitest::typeAndLeave(shift, QStringLiteral("1499"), start);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8045});
  EXPECT_EQ(QApplication::focusWidget(), shift);
  o.ok();
  EXPECT_EQ(b.prompts.messages, (std::vector<int32_t>{8045, 8045}));
  EXPECT_TRUE(o.dialog.isVisible());
  EXPECT_EQ(b.state.record.SchaltBlitz, 9950);

  uitest::typeAndLeave(shift, QStringLiteral("6020"), start);
  uitest::typeAndLeave(start, QStringLiteral("21"), shift);
  EXPECT_EQ(b.prompts.messages.size(), 3u);
  uitest::typeAndLeave(start, QStringLiteral("20"), shift);
  o.ok();
  EXPECT_EQ(o.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(b.state.record.SchaltBlitz, 6000);
  EXPECT_EQ(b.state.record.StartZeit, 20);
}

TEST(ExtendedSettingsDialog, LoggingAndExternalDisplayCannotShareTheBus) {
  igntest::DialogBench b;
  Open o(b);
  o.box(D::kLogging)->setChecked(true);
  o.box(D::kExternalDisplay)->setChecked(true);
  const IgnitionRecord before = b.state.record;
  o.ok();
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8075});
  EXPECT_TRUE(o.dialog.isVisible());
  EXPECT_EQ(b.state.record.Flags, before.Flags);
  EXPECT_EQ(b.state.record.FlagsC, before.FlagsC);
  o.box(D::kExternalDisplay)->setChecked(false);
  o.ok();
  EXPECT_EQ(o.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(b.state.record.Flags, bits::kFlagsLogging);
}

TEST(ExtendedSettingsDialog, SavingRewritesFlagsCAndKeepsTheOtherBits) {
  igntest::DialogBench b;
  IgnitionRecord& r = b.state.record;
  r.Flags = 0xFF;
  r.FlagsB = 0xFF;
  r.FlagsC = 0xFF & ~bits::kFlagsCDirectMode;
  r.FlagsD = 0xFF;
  r.GeberModus = 7;  // unknown: shown and saved as the first mode
  Open o(b);
  EXPECT_EQ(control<QRadioButton>(&o.dialog, D::kPotiMinusFourToFive)->isChecked(), true);
  EXPECT_EQ(control<QComboBox>(&o.dialog, D::kSenderMode)->currentIndex(), 0);
  for (QCheckBox* box : o.dialog.findChildren<QCheckBox*>()) box->setChecked(false);
  control<QRadioButton>(&o.dialog, D::kPotiZeroToNine)->setChecked(true);
  o.box(D::kSecondSpark)->setChecked(true);
  o.box(D::kZ1SignalOff)->setChecked(true);
  o.ok();
  ASSERT_EQ(o.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(r.Flags, 0x6C | 0x02);
  EXPECT_EQ(r.FlagsB, 0xFB);
  EXPECT_EQ(r.FlagsC, 0x40);
  EXPECT_EQ(r.FlagsD, 0xE3 | 0x08);
  EXPECT_EQ(r.GeberModus, 0);
}

}  // namespace
}  // namespace ignition
