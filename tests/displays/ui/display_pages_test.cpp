// The display pages in the program's window against the in-process bus:
// every page and dialog drawn, read and write behind the buttons, the
// teach-ins with scripted sensor values.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "modules/displays/ui/display_dialogs.h"
#include "shell/file_dialog.h"
#include "tests/displays/ui/display_ui_bench.h"
#include "tests/support/temp_folder.h"
#include "texts/display_text_ids.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace displays {
namespace {

using uitest::control;
using uitest_bench::PageBench;
namespace d = dialog_id;

// Control numbers of the pages (page_id::kFirstOwn on).
constexpr int32_t kBarStart = 1013, kBarModeLambdaOld = 1023, kBarModeLambda = 1021,
                  kBarModeStandard = 1020, kBarIntermediate = 1031, kBarBar = 1032;
constexpr int32_t kGearTeach = 1010, kGearReverse = 1011, kGearNeutral = 1012, kGear1 = 1013;
constexpr int32_t kTankTeach = 1010, kTankInsert = 1012, kTankGauge = 1015, kTankMinimum = 1023,
                  kTankSensor1 = 1025;
constexpr int32_t kShiftLive = 1010, kShiftGreen1 = 1020;
constexpr int32_t kPotiLive = 1010;
constexpr int32_t kRallyEdit = 1010, kRallyTargets = 1015;
constexpr int32_t kStopwatchTimes = 1016;

QString field(QWidget* w, int32_t id) {
  return control<QLineEdit>(w, id)->text();
}

std::vector<QString> entries(QWidget* w, int32_t id) {
  std::vector<QString> out;
  auto* list = control<QListWidget>(w, id);
  for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text());
  return out;
}

TEST(DisplayPages, EveryPageIsDrawnAndReadsItsModule) {
  PageBench b;
  const struct {
    int32_t id;
    const char* shot;
  } pages[] = {{202, "bar_page"},       {203, "gear_page"}, {204, "tank_page"},
               {205, "shift_page"},     {212, "poti_page"}, {210, "oil_page"},
               {211, "stopwatch_page"}, {213, "rally_page"}};
  for (const auto& p : pages) {
    QWidget* w = b.show(p.id);
    ASSERT_NE(w, nullptr) << p.id;
    if (p.id != 202) {
      b.prompts.messages.clear();
      uitest::click(w, page_id::kRead);
      EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{texts::kTextReadOk}) << p.id;
      const QString version =
          p.id == 205 ? QStringLiteral("Version: V 1.2") : QStringLiteral("V 1.2");
      EXPECT_EQ(control<QLabel>(w, page_id::kVersion)->text(), version) << p.id;
    }
    EXPECT_TRUE(uitest::saveShot(b.window.get(), QString::fromUtf8(p.shot))) << p.id;
  }
  QWidget* gear = b.show(203);
  EXPECT_EQ(field(gear, kGear1), QStringLiteral("210"));
  EXPECT_EQ(field(gear, kGearNeutral), QStringLiteral("240"));
  EXPECT_EQ(field(gear, kGearReverse), QStringLiteral("30"));
  EXPECT_EQ(field(gear, kGear1 + 7), QString()) << "gear 8 is not in the module's table";
  QWidget* tank = b.show(204);
  EXPECT_EQ(entries(tank, kTankSensor1),
            (std::vector<QString>{"000 L 0800", "020 L 0300", "040 L 0100"}));
  EXPECT_EQ(field(tank, kTankMinimum), QStringLiteral("12"));
  QWidget* shift = b.show(205);
  EXPECT_EQ(field(shift, kShiftGreen1), QStringLiteral("3000"));
  QWidget* watch = b.show(211);
  EXPECT_EQ(entries(watch, kStopwatchTimes), (std::vector<QString>{"102.03", " 45.30", "105.07"}));
  QWidget* rally = b.show(213);
  EXPECT_EQ(entries(rally, kRallyTargets), (std::vector<QString>{"01 123.4", "03 012.0"}));
}

TEST(DisplayPages, WriteShowsItsOutcomeAndTheModuleTakesTheFields) {
  PageBench b;
  QWidget* w = b.show(203);
  uitest::click(w, page_id::kRead);
  uitest::setText(w, kGear1 + 2, QStringLiteral("140"));
  b.prompts.messages.clear();
  uitest::click(w, page_id::kWrite);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{texts::kTextWriteOk});
  EXPECT_EQ(b.module(0xA0).restarts, 1);
  // 240 neutral, 210, 180, 140 (gear 3), ...
  EXPECT_EQ(b.module(0xA0).memory[19], 140);
  EXPECT_EQ(b.module(0xA0).memory[35], 3);
}

TEST(BarPage, LambdaModesDisableTheFreeSettingsAndALoadShowsTheStoredMode) {
  PageBench b;
  QWidget* w = b.show(202);
  uitest::click(w, kBarModeLambda);
  EXPECT_FALSE(control<QWidget>(w, kBarStart)->isEnabled());
  uitest::click(w, kBarModeStandard);
  EXPECT_TRUE(control<QWidget>(w, kBarStart)->isEnabled());
  uitest::click(w, kBarIntermediate);
  EXPECT_FALSE(control<QWidget>(w, kBarBar)->isEnabled());

  test_files::TempFolder folder;
  const std::string path = folder / "b.velBalken";
  test_files::writeFile(
      path,
      "[BalkenAnzeige]\r\n[FileVersion]\r\n1\r\n[SerienNummer]\r\n1234567\r\n"
      "[Helligkeit]\r\n9\r\n[AnzeigenNummer]\r\n2\r\n[Adresse]\r\n240\r\n"
      "[Modus]\r\n3\r\n[Flags]\r\n8\r\n[Startwert]\r\n2000\r\n[Stufe]\r\n100\r\n");
  shell::FileDialog::setChooser(
      [path](shell::FileDialog::Kind, const shell::FileDialog&, std::string& chosen) {
        chosen = path;
        return true;
      });
  uitest::click(w, page_id::kLoad);
  EXPECT_TRUE(control<QAbstractButton>(w, kBarModeLambdaOld)->isChecked());
  EXPECT_FALSE(control<QAbstractButton>(w, kBarModeStandard)->isChecked());
  EXPECT_EQ(b.settings->get("PfadBalken", ""), folder.path() + "/");
  uitest::click(w, page_id::kWrite);
  EXPECT_EQ(b.bus->serialModules().module(1).memory[2], 9);
  EXPECT_EQ(b.bus->serialModules().module(1).memory[18], 8) << "the hidden peak-hold bit";
  EXPECT_EQ(b.prompts.messages.back(), texts::kTextBarProgrammed);
  shell::FileDialog::setChooser({});
}

TEST(GearPage, TeachInWithScriptedSensorValues) {
  PageBench b;
  QWidget* w = b.show(203);
  int shots = 0;
  uitest::onNextModal([&](QWidget* modal) {
    const uint16_t values[] = {25, 245, 200};
    for (uint16_t v : values) {
      b.module(0xA0).liveValues[0] = v;
      ASSERT_TRUE(uitest::waitFor([&] { return field(modal, d::kValue) == QString::number(v); }));
      if (shots++ == 0) uitest::saveShot(modal, QStringLiteral("gear_teach_in"));
      uitest::click(modal, d::kNext);
    }
    EXPECT_EQ(field(modal, d::kSymbol), QStringLiteral("2"));
    uitest::click(modal, d::kOk);
  });
  uitest::click(w, kGearTeach);
  EXPECT_EQ(field(w, kGearReverse), QStringLiteral("25"));
  EXPECT_EQ(field(w, kGearNeutral), QStringLiteral("245"));
  EXPECT_EQ(field(w, kGear1), QStringLiteral("200"));
  EXPECT_EQ(field(w, kGear1 + 1), QString()) << "not taught: left empty";
  EXPECT_EQ(b.module(0xA0).restarts, 1);
}

TEST(TankPage, TeachInPointEditorAndGauge) {
  PageBench b;
  QWidget* w = b.show(204);
  uitest::click(w, page_id::kRead);
  b.prompts.yesNoAnswers = {false};
  uitest::onNextModal([&](QWidget* modal) {
    b.module(0x90).liveValues[0] = 50;
    ASSERT_TRUE(uitest::waitFor([&] { return field(modal, d::kRaw1) == QStringLiteral("50"); }));
    uitest::setText(modal, d::kLitres1, QStringLiteral("60"));
    uitest::saveShot(modal, QStringLiteral("tank_teach_in"));
    uitest::click(modal, d::kNext);
    uitest::click(modal, d::kOk);
  });
  uitest::click(w, kTankTeach);
  EXPECT_EQ(b.prompts.questions, std::vector<int32_t>{texts::kTextClearSensorValues});
  EXPECT_EQ(entries(w, kTankSensor1).back(), QStringLiteral("060 L 0050"));

  control<QListWidget>(w, kTankSensor1)->setCurrentRow(0);
  uitest::onNextModal([&](QWidget* modal) {
    uitest::setText(modal, d::kPointLitres, QStringLiteral("10"));
    uitest::setText(modal, d::kPointValue, QStringLiteral("500"));
    uitest::saveShot(modal, QStringLiteral("tank_point_editor"));
    uitest::click(modal, d::kOk);
  });
  uitest::click(w, kTankInsert);
  EXPECT_EQ(entries(w, kTankSensor1)[1], QStringLiteral("010 L 0500"));

  uitest::onNextModal([&](QWidget* modal) {
    EXPECT_EQ(field(modal, d::kFraction + 4), QStringLiteral("60"));
    uitest::saveShot(modal, QStringLiteral("tank_gauge"));
    uitest::click(modal, d::kFractionRadio + 2);
    uitest::click(modal, d::kOk);
  });
  uitest::click(w, kTankGauge);
  EXPECT_EQ(b.module(0x90).learnPoints, (std::vector<uint8_t>{0, 30}));
}

TEST(LiveWindows, ShiftSpeedPotiValueAndRallyEditor) {
  PageBench b;
  QWidget* shift = b.show(205);
  uitest::onNextModal([&](QWidget* modal) {
    b.module(0xB0).period = 1250;
    ASSERT_TRUE(uitest::waitFor([&] { return field(modal, d::kValue) == QStringLiteral("6000"); }));
    uitest::saveShot(modal, QStringLiteral("shift_rpm_window"));
    uitest::click(modal, d::kOk);
  });
  uitest::click(shift, kShiftLive);
  QWidget* poti = b.show(212);
  uitest::onNextModal([&](QWidget* modal) {
    ASSERT_TRUE(uitest::waitFor([&] { return field(modal, d::kValue) == QStringLiteral("128"); }));
    uitest::saveShot(modal, QStringLiteral("poti_value_window"));
    uitest::click(modal, d::kOk);
  });
  uitest::click(poti, kPotiLive);
  QWidget* rally = b.show(213);
  uitest::click(rally, page_id::kRead);
  auto* list = control<QListWidget>(rally, kRallyTargets);
  list->setCurrentRow(1);
  uitest::onNextModal([&](QWidget* modal) {
    EXPECT_EQ(field(modal, d::kNumber), QStringLiteral("3"));
    uitest::setText(modal, d::kTime, QStringLiteral("1234"));
    uitest::saveShot(modal, QStringLiteral("rally_edit"));
    uitest::click(modal, d::kOk);
  });
  uitest::click(rally, kRallyEdit);
  EXPECT_EQ(entries(rally, kRallyTargets), (std::vector<QString>{"01 123.4", "03 123.4"}));
}

}  // namespace
}  // namespace displays
