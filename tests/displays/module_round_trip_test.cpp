#include <gtest/gtest.h>

#include <set>

#include "modules/displays/bar_display.h"
#include "modules/displays/display_operation.h"
#include "modules/displays/gear_display.h"
#include "modules/displays/poti_display.h"
#include "modules/displays/rally_timer.h"
#include "modules/displays/shift_display.h"
#include "modules/displays/small_displays.h"
#include "modules/displays/tank_display.h"
#include "tests/displays/display_bench.h"
#include "tests/support/temp_folder.h"
#include "texts/display_text_ids.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace displays {
namespace {

using test::Bench;

// The memory cells the PC read from or wrote to `address` with `command`
// from frame `from` on.
std::set<int> cells(const Bench& b, uint8_t address, int command, size_t from) {
  std::set<int> out;
  const auto sent = b.sent();
  for (size_t i = from; i < sent.size(); ++i) {
    if (sent[i][0] == (address | command)) out.insert(sent[i][1]);
  }
  return out;
}

// Read, save, load into fresh settings, write into a module whose memory
// was wiped: every cell read comes back as it was, except the ones the page
// only shows (`shownOnly`), and the write ends with a restart.
template <class Settings, class Read, class Write, class Save, class Load>
void roundTrip(uint8_t address, Read read, Write write, Save save, Load load,
               std::set<int> shownOnly) {
  Bench b;
  test_files::TempFolder folder;
  const auto before = b.module(address).memory;
  Settings s;
  ASSERT_EQ(read(b.link, b.prompts, s), 0);
  const std::set<int> readCells = cells(b, address, 2, 0);
  const std::string path = folder / "settings";
  ASSERT_EQ(save(s, path), 0);
  b.module(address).memory.fill(0);
  Settings loaded;
  ASSERT_EQ(load(loaded, path), 0);
  const size_t writeStart = b.sent().size();
  ASSERT_EQ(write(b.link, b.prompts, loaded), 0);
  const std::set<int> written = cells(b, address, 3, writeStart);
  for (int a : readCells) {
    if (shownOnly.count(a) != 0) {
      EXPECT_EQ(written.count(a), 0u) << "cell " << a << " is only shown";
      continue;
    }
    EXPECT_EQ(written.count(a), 1u) << "cell " << a << " read but not written";
    EXPECT_EQ(b.module(address).memory[a], before[a]) << "cell " << a;
  }
  EXPECT_EQ(b.module(address).restarts, 1);
  EXPECT_TRUE(b.prompts.messages.empty());
}

TEST(DisplayRoundTrip, GearThroughItsFile) {
  roundTrip<GearDisplaySettings>(0xA0, readGearDisplay, writeGearDisplay, saveGearDisplayFile,
                                 loadGearDisplayFile, {});
}
TEST(DisplayRoundTrip, ShiftThroughItsFile) {
  roundTrip<ShiftDisplaySettings>(0xB0, readShiftDisplay, writeShiftDisplay, saveShiftDisplayFile,
                                  loadShiftDisplayFile, {224, 225, 252, 253, 254, 255});
}
TEST(DisplayRoundTrip, PotiThroughItsFile) {
  roundTrip<PotiDisplaySettings>(0xD0, readPotiDisplay, writePotiDisplay, savePotiDisplayFile,
                                 loadPotiDisplayFile, {});
}
TEST(DisplayRoundTrip, TankThroughItsFile) {
  roundTrip<TankDisplaySettings>(0x90, readTankDisplay, writeTankDisplay, saveTankDisplayFile,
                                 loadTankDisplayFile, {48, 49});
}

TEST(TankDisplay, ReadShowsPointsAndRecordedMinimumAndMaximum) {
  Bench b;
  test_files::TempFolder folder;
  auto before = b.module(0x90).memory;
  TankDisplaySettings s;
  ASSERT_EQ(readTankDisplay(b.link, b.prompts, s), 0);
  EXPECT_EQ(s.sensors[0], (TankCalibrationList{"000 L 0800", "020 L 0300", "040 L 0100"}));
  EXPECT_EQ(s.minimum, 12);
  EXPECT_EQ(s.maximum, 38);
  ASSERT_EQ(saveTankDisplayFile(s, folder / "t.velTank"), 0);
  TankDisplaySettings loaded;
  ASSERT_EQ(loadTankDisplayFile(loaded, folder / "t.velTank"), 0);
  ASSERT_EQ(writeTankDisplay(b.link, b.prompts, loaded), 0);
  EXPECT_EQ(b.module(0x90).memory, before);
}

// The pages without a settings file: read, write back, same memory.
TEST(DisplayRoundTrip, OilStopwatchAndRallyTimer) {
  Bench b;
  const auto oil = b.module(0x80).memory;
  const auto watch = b.module(0x70).memory;
  const auto rally = b.module(0xC0).memory;
  OilDisplaySettings o;
  StopwatchSettings w;
  RallyTimerSettings r;
  ASSERT_EQ(readOilDisplay(b.link, b.prompts, o), 0);
  ASSERT_EQ(readStopwatch(b.link, b.prompts, w), 0);
  ASSERT_EQ(readRallyTimer(b.link, b.prompts, r), 0);
  EXPECT_EQ(w.circumference, 2000);
  EXPECT_EQ(w.lastTimes, (std::vector<std::string>{"102.03", " 45.30", "105.07"}));
  ASSERT_EQ(r.targets.size(), 2u);
  EXPECT_EQ(r.targets[1].number, 3);
  EXPECT_EQ(r.recorded, (std::vector<std::string>{"012.3 125.0"}));
  for (auto* m : {&b.module(0x80), &b.module(0x70), &b.module(0xC0)}) m->memory.fill(0);
  ASSERT_EQ(writeOilDisplay(b.link, b.prompts, o), 0);
  ASSERT_EQ(writeStopwatch(b.link, b.prompts, w), 0);
  ASSERT_EQ(writeRallyTimer(b.link, b.prompts, r), 0);
  // Only what the pages write comes back; the lap memory and records stay
  // the module's own.
  auto& m = b.module(0x70).memory;
  for (int a : {1, 2, 6, 8, 9}) EXPECT_EQ(m[a], watch[a]) << a;
  for (int a : {1, 2}) EXPECT_EQ(b.module(0x80).memory[a], oil[a]) << a;
  for (int a = 224; a < 230; ++a) EXPECT_EQ(b.module(0xC0).memory[a], rally[a]) << a;
  EXPECT_EQ(b.module(0xC0).memory[226], 255) << "the empty slot 2 between laps 1 and 3";
}

TEST(BarDisplay, TwoDisplaysInOneHousingEachTakeOnlyTheirOwnSettings) {
  Bench b;
  BarDisplaySettings first, second;
  first.serialNumber = second.serialNumber = 1234567;
  second.displayNumber = 2;
  first.brightness = 100;
  second.brightness = 200;
  second.mode = kBarRpm;
  second.flags = kBarAsBar | kBarPeakHold;
  second.startValue = 1000;
  second.step = 250;
  ASSERT_EQ(writeBarDisplay(b.link, b.prompts, first), 0);
  ASSERT_EQ(writeBarDisplay(b.link, b.prompts, second), 0);
  EXPECT_EQ(b.prompts.messages,
            (std::vector<int32_t>{texts::kTextBarProgrammed, texts::kTextBarProgrammed}));
  sim::ModuleModel& one = b.bus.serialModules().module(0);
  sim::ModuleModel& two = b.bus.serialModules().module(1);
  EXPECT_EQ(one.memory[2], 100);
  EXPECT_EQ(two.memory[2], 200);
  EXPECT_EQ(two.memory[17], kBarRpm);
  EXPECT_EQ(two.memory[18], kBarAsBar | kBarPeakHold) << "bit 3 is written although hidden";
  EXPECT_EQ(two.memory[32] * 256 + two.memory[33], 250);
  EXPECT_EQ(two.memory[34] * 256 + two.memory[35], 1000);
  EXPECT_EQ(one.memory[34] * 256 + one.memory[35], 2000);
  // The frames of the second write, as the module bus carries them.
  const auto sent = b.sent();
  const std::vector<std::vector<uint8_t>> expected = {
      {0x16, 0x11, 0x23}, {0x17, 0x45, 0x67}, {0x2E, 1, 8},     {0x23, 2, 200},
      {0x23, 16, 240},    {0x23, 17, 2},      {0x23, 18, 12},   {0x23, 32, 0},
      {0x23, 33, 250},    {0x23, 34, 3},      {0x23, 35, 0xE8}, {0x2F, 0, 0}};
  ASSERT_GE(sent.size(), expected.size());
  EXPECT_EQ(std::vector<std::vector<uint8_t>>(sent.end() - expected.size(), sent.end()), expected);
  EXPECT_EQ(b.link.noReply(), 0);
}

TEST(BarDisplay, TestRunsThePatternsInTurn) {
  Bench b;
  BarDisplaySettings s;
  s.serialNumber = 1234567;
  BarDisplayTest t(b.link, b.prompts);
  ASSERT_EQ(t.start(s), 0);
  std::vector<int> patterns;
  for (int i = 0; i < 20; ++i) {
    t.tick();
    patterns.push_back(t.pattern());
  }
  t.finish();
  EXPECT_EQ(patterns[0], 1);
  EXPECT_EQ(patterns[17], 18);
  EXPECT_EQ(patterns[18], 1);
  EXPECT_EQ(b.bus.serialModules().module(0).displayCodes[0], 2);
  EXPECT_EQ(b.bus.serialModules().module(0).restarts, 1);
}

TEST(BarDisplay, OutOfRangeFieldIsRefusedBeforeAnythingIsSent) {
  Bench b;
  BarDisplaySettings s;
  s.brightness = 300;
  EXPECT_EQ(writeBarDisplay(b.link, b.prompts, s), texts::kTextParameterOutOfRange);
  EXPECT_TRUE(b.sent().empty());
  EXPECT_EQ(b.prompts.messages, (std::vector<int32_t>{texts::kTextParameterOutOfRange}));
}

TEST(DisplayPattern, StatusesMapToThePageTexts) {
  EXPECT_EQ(outcomeText(Operation::Read, 0), texts::kTextReadOk);
  EXPECT_EQ(outcomeText(Operation::Write, 0), texts::kTextWriteOk);
  EXPECT_EQ(outcomeText(Operation::Read, 1), 0);
  EXPECT_EQ(outcomeText(Operation::Read, 5), texts::kTextDisplayReadError);
  EXPECT_EQ(outcomeText(Operation::Write, 13), texts::kTextDisplayWriteError);
}

TEST(DisplayPattern, MissingModuleIsReportedOnceWithStatusOne) {
  sim::Scenario empty;
  Bench b(empty);
  GearDisplaySettings s;
  EXPECT_EQ(readGearDisplay(b.link, b.prompts, s), kStatusReported);
  EXPECT_EQ(b.prompts.messages, (std::vector<int32_t>{texts::kTextModuleNotFound}));
}

TEST(DisplayPattern, FailingStepGivesItsNumber) {
  sim::Scenario s = test::displayScenario();
  s.faults.silentAfter.push_back({4, 0xB0});
  Bench b(s);
  ShiftDisplaySettings shift;
  // Frame 1 identify, 2-5 serial, then 2 (day) ...
  const int32_t status = readShiftDisplay(b.link, b.prompts, shift);
  EXPECT_GE(status, 2);
  EXPECT_EQ(outcomeText(Operation::Read, status), texts::kTextDisplayReadError);
}

TEST(GearDisplay, WriteSendsTheSortedTable) {
  Bench b;
  GearDisplaySettings s;
  s.gearValues[0] = 200;
  s.gearValues[2] = 150;
  s.neutralValue = 250;
  s.reverseValue = 20;
  ASSERT_EQ(writeGearDisplay(b.link, b.prompts, s), 0);
  const auto& m = b.module(0xA0).memory;
  EXPECT_EQ(m[32], 0);
  EXPECT_EQ(m[16], 250);
  EXPECT_EQ(m[33], 1);
  EXPECT_EQ(m[34], 3);
  EXPECT_EQ(m[35], 11);
  EXPECT_EQ(m[19], 20);
  for (int i = 4; i < 13; ++i) EXPECT_EQ(m[32 + i], 15) << i;
  EXPECT_EQ(m[8], 1) << "external reference";
}

TEST(GearDisplay, TeachInTakesTheScriptedSensorValues) {
  Bench b;
  GearDisplaySettings s;
  s.reverseSymbol = kGearSymbolR;
  GearTeachIn t(b.link, b.prompts, s);
  ASSERT_EQ(t.start(), 0);
  EXPECT_EQ(t.symbolText(), "R");
  EXPECT_EQ(b.module(0xA0).displayCodes[0], kGearSymbolR);
  const uint16_t values[] = {30, 240, 210, 180};
  for (uint16_t v : values) {
    b.module(0xA0).liveValues[0] = v;
    EXPECT_EQ(t.tick(), v);
    ASSERT_TRUE(t.next());
  }
  EXPECT_EQ(t.symbolText(), "3");
  EXPECT_EQ(b.module(0xA0).displayCodes[0], 3);
  while (t.skip()) {
  }
  t.finish();
  EXPECT_EQ(s.reverseValue, 30);
  EXPECT_EQ(s.neutralValue, 240);
  EXPECT_EQ(s.gearValues[0], 210);
  EXPECT_EQ(s.gearValues[1], 180);
  EXPECT_FALSE(s.gearValues[2].has_value()) << "skipped gears stay empty";
  EXPECT_EQ(b.module(0xA0).restarts, 1);
}

TEST(TankDisplay, TeachInAddsPointsFromBothSensors) {
  Bench b;
  TankDisplaySettings s;
  s.sensors[0] = {"050 L 0050"};
  b.prompts.yesNoAnswers = {true};
  TankTeachIn t(b.link, b.prompts, s);
  ASSERT_EQ(t.start(), 0);
  EXPECT_TRUE(s.sensors[0].empty()) << "answered yes: lists cleared";
  for (uint8_t d = 0; d < 3; ++d) EXPECT_EQ(b.module(0x90).displayCodes[d], 11);
  b.module(0x90).liveValues[0] = 900;
  b.module(0x90).liveValues[1] = 800;
  t.tick();
  EXPECT_TRUE(t.next({0, 5}));
  b.module(0x90).liveValues[0] = 400;
  t.tick();
  EXPECT_TRUE(t.next({30, std::nullopt}));
  b.module(0x90).liveValues[0] = 450;
  t.tick();
  EXPECT_FALSE(t.next({40, std::nullopt})) << "raw values must fall";
  t.finish();
  EXPECT_EQ(s.sensors[0], (TankCalibrationList{"000 L 0900", "030 L 0400"}));
  EXPECT_EQ(s.sensors[1], (TankCalibrationList{"005 L 0800"}));
  EXPECT_EQ(b.prompts.messages, (std::vector<int32_t>{texts::kTextParameterOutOfRange}));
}

TEST(TankDisplay, GaugeTeachInSendsTheFractions) {
  Bench b;
  TankDisplaySettings s;
  s.sensors[0] = {"010 L 0600", "060 L 0100"};
  s.sensors[1] = {"005 L 0900", "040 L 0200"};
  TankGaugeTeachIn g(b.link, b.prompts, s);
  ASSERT_EQ(g.start(), 0);
  g.choose(1);
  g.choose(4);
  g.finish();
  EXPECT_EQ(b.module(0x90).memory[9], 7);
  EXPECT_EQ(b.module(0x90).learnPoints, (std::vector<uint8_t>{0, 25, 100}));
}

TEST(TankDisplay, EmptyListsWriteOnlyTheirEndMarks) {
  Bench b;
  TankDisplaySettings s;
  ASSERT_EQ(writeTankDisplay(b.link, b.prompts, s), 0);
  for (int a : {64, 128, 192}) EXPECT_EQ(b.module(0x90).memory[a], 255) << a;
  EXPECT_EQ(b.module(0x90).memory[65], 0x00) << "the old point's bytes stay behind the mark";
}

TEST(ShiftDisplay, ResetMaximumAndLiveSpeed) {
  Bench b;
  ShiftDisplaySettings s;
  ASSERT_EQ(resetShiftMaximum(b.link, b.prompts, s), 0);
  EXPECT_EQ(b.module(0xB0).memory[224], 0xFF);
  EXPECT_EQ(b.module(0xB0).memory[225], 0xFF);
  EXPECT_EQ(s.maximum, 0);
  ShiftRpmWindow w(b.link, b.prompts, 2);
  ASSERT_EQ(w.start(), 0);
  b.module(0xB0).period = 1250;
  EXPECT_EQ(w.tick(), 6000);
  w.finish();
  EXPECT_TRUE(b.prompts.messages.empty());
}

TEST(DisplayTests, MessagesAndChannelsPerModule) {
  Bench b;
  ASSERT_EQ(testShiftDisplay(b.link, b.prompts), 0);
  EXPECT_EQ(b.prompts.messages.size(), 2u) << "one message per channel";
  EXPECT_EQ(b.module(0xB0).displayCodes[1], 14);
  b.prompts.messages.clear();
  ASSERT_EQ(testTankDisplay(b.link, b.prompts), 0);
  EXPECT_EQ(b.prompts.messages, (std::vector<int32_t>{texts::kTextDisplayTestEnd}));
  EXPECT_EQ(b.module(0x90).displayCodes[2], 14);
  EXPECT_EQ(b.module(0x90).restarts, 1);
}

}  // namespace
}  // namespace displays
