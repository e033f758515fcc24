#include <gtest/gtest.h>

#include "modules/displays/bar_display.h"
#include "modules/displays/gear_display.h"
#include "modules/displays/rally_timer.h"
#include "modules/displays/shift_display.h"
#include "modules/displays/small_displays.h"
#include "modules/displays/tank_display.h"

namespace displays {
namespace {

TEST(BarDisplay, BusSerialCarriesTheDisplayNumberInItsFirstDigit) {
  struct Case {
    int32_t serial, number;
    uint32_t bcd;
  };
  for (const Case& c : {Case{1000000, 1, 0x01000000}, Case{1000000, 0, 0x01000000},
                        Case{1000000, 3, 0x21000000}, Case{1234567, 2, 0x11234567}}) {
    EXPECT_EQ(barBusSerialBcd(c.serial, c.number), c.bcd) << c.serial << " #" << c.number;
  }
}

TEST(ShiftDisplay, RpmAndPeriodWithTheSpeedFactor) {
  struct Case {
    int32_t rpm, code, value, back;
  };
  // 7 500 000 / rpm / code x 2, and back rounded down to tens.
  for (const Case& c : {Case{6000, 2, 1250, 6000}, Case{0, 2, 0, 0}, Case{3000, 12, 416, 3000},
                        Case{4500, 1, 3332, 4500}, Case{7777, 2, 964, 7780}}) {
    EXPECT_EQ(rpmToShiftValue(c.rpm, c.code), c.value) << c.rpm << " code " << c.code;
    EXPECT_EQ(shiftValueToRpm(c.value, c.code), c.back) << c.value << " code " << c.code;
  }
  EXPECT_EQ(shiftUpperBound(12), 4882);
  EXPECT_EQ(shiftUpperBound(2), 9999);
  EXPECT_TRUE(shiftThresholdFits(0, 12)) << "an empty field passes";
  EXPECT_TRUE(shiftThresholdFits(4882, 12));
  EXPECT_FALSE(shiftThresholdFits(4883, 12));
  EXPECT_FALSE(shiftThresholdFits(499, 2));
}

TEST(TankDisplay, PointsKeepRawValuesFallingWithRisingLitres) {
  TankCalibrationList list;
  ASSERT_TRUE(addTankPoint(list, {30, 400}));
  ASSERT_TRUE(addTankPoint(list, {10, 600}));
  EXPECT_FALSE(addTankPoint(list, {20, 700}));
  EXPECT_FALSE(addTankPoint(list, {10, 550})) << "same litres";
  EXPECT_TRUE(addTankPoint(list, {20, 500}));
  EXPECT_EQ(list, (TankCalibrationList{"010 L 0600", "020 L 0500", "030 L 0400"}));
  for (int l = 31; list.size() < 21; ++l) ASSERT_TRUE(addTankPoint(list, {l, 400 - l}));
  EXPECT_FALSE(addTankPoint(list, {100, 1})) << "a 22nd point";
}

TEST(TankDisplay, GaugeCapacityAndScale) {
  TankDisplaySettings s;
  s.sensors[0] = {"010 L 0600", "060 L 0100"};
  s.sensors[1] = {"005 L 0900", "040 L 0200"};
  TankGaugeScale g = tankGaugeScale(s);
  EXPECT_EQ(g.capacity, 100);
  EXPECT_EQ(g.exponent, 7);
  EXPECT_EQ(g.fractions, (std::array<int32_t, 5>{0, 25, 50, 75, 100}));
  s.sensors[1] = {"040 L 0200"};
  EXPECT_EQ(tankGaugeScale(s).capacity, 60) << "a single point does not count";
  s.sensors = {TankCalibrationList{"010 L 0600", "130 L 0100"}, {}};
  EXPECT_EQ(tankGaugeScale(s).exponent, 6);
}

TEST(GearDisplay, TableSortedByValueWithBlankEntries) {
  GearDisplaySettings s;
  s.gearValues[0] = 200;
  s.gearValues[1] = 0;
  s.gearValues[2] = 150;
  s.neutralValue = 250;
  s.reverseValue = 20;
  const GearTable t = gearTableFor(s);
  const std::pair<uint8_t, int32_t> head[] = {{0, 250}, {1, 200}, {3, 150}, {11, 20}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(t[i].code, head[i].first) << i;
    EXPECT_EQ(t[i].value, head[i].second) << i;
  }
  for (int i = 4; i < kGearTableEntries; ++i) {
    EXPECT_EQ(t[i].code, kGearSymbolBlank) << i;
    EXPECT_EQ(t[i].value, 0) << i;
  }
}

TEST(GearDisplay, DashBelongsToNeutralUnlessAZeroCodeExists) {
  GearDisplaySettings s;
  putGearEntry(s, kGearSymbolZero, 240, true);
  putGearEntry(s, kGearSymbolDash, 30, true);
  EXPECT_EQ(s.neutralSymbol, kGearSymbolZero);
  EXPECT_EQ(s.reverseSymbol, kGearSymbolDash);
  EXPECT_EQ(s.reverseValue, 30);
  GearDisplaySettings t;
  putGearEntry(t, kGearSymbolDash, 40, false);
  putGearEntry(t, kGearSymbolDash, 50, false);
  EXPECT_EQ(t.neutralSymbol, kGearSymbolDash);
  EXPECT_EQ(t.neutralValue, 50);
  EXPECT_FALSE(t.reverseValue.has_value());
}

TEST(Stopwatch, CircumferenceAndLapList) {
  EXPECT_EQ(circumferenceToModule(2000), 7200);
  EXPECT_EQ(circumferenceFromModule(7200), 2000);
  EXPECT_EQ(circumferenceToModule(1999), 7196);
  EXPECT_EQ(circumferenceFromModule(7196), 1999);

  // No free mark: the records at 250, 247, 244, 241, 238, newest first.
  std::array<uint8_t, 237> laps{};
  auto put = [&laps](int address, uint8_t m, uint8_t s, uint8_t h) {
    laps[address - 16] = m;
    laps[address - 15] = s;
    laps[address - 14] = h;
  };
  put(250, 1, 5, 7);
  put(247, 0, 45, 30);
  put(244, 0, 1, 2);
  put(241, 2, 0, 0);
  put(238, 0, 9, 9);
  EXPECT_EQ(stopwatchLastTimes(laps.data()),
            (std::vector<std::string>{"105.07", " 45.30", "  1.02", "200.00", "  9.09"}));
  // A mark at 16 wraps to the end; an unused record is skipped.
  put(16, 255, 0, 0);
  put(247, 255, 0, 0);
  EXPECT_EQ(stopwatchLastTimes(laps.data()),
            (std::vector<std::string>{"105.07", "  1.02", "200.00", "  9.09"}));
}

TEST(RallyTimer, BcdAndListTexts) {
  struct Case {
    uint8_t byte;
    int32_t number;
  };
  for (const Case& c : {Case{0x12, 12}, Case{0x99, 99}, Case{0x1A, 0}, Case{0xA0, 0}}) {
    EXPECT_EQ(fromRallyBcd(c.byte), c.number) << int(c.byte);
  }
  EXPECT_EQ(toRallyBcd(12), 0x12);
  EXPECT_EQ(toRallyBcd(34), 0x34);
  EXPECT_EQ(toRallyBcd(100), 0);
  EXPECT_EQ(rallyTargetText({1, 1234}), "01 123.4");
  EXPECT_EQ(rallyRecordText(123, 1250), "012.3 125.0");
}

TEST(RallyTimer, ListTakesTenEntriesInNumberOrder) {
  std::vector<RallyLapTime> targets;
  for (int n : {3, 1, 2, 5, 4, 6, 7, 9, 8, 9}) ASSERT_TRUE(addRallyTarget(targets, {n, n * 10}));
  EXPECT_FALSE(addRallyTarget(targets, {1, 5})) << "an eleventh entry";
  for (size_t i = 0; i + 1 < targets.size(); ++i)
    EXPECT_LE(targets[i].number, targets[i + 1].number);
  ASSERT_TRUE(editRallyTarget(targets, 2, 777)) << "the edited entry leaves room for itself";
  EXPECT_EQ(targets[2].number, 3);
  EXPECT_EQ(targets[2].tenths, 777);
  EXPECT_EQ(targets.size(), 10u);
}

}  // namespace
}  // namespace displays
