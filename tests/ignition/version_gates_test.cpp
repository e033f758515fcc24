// Every firmware version gate one step below, at and one step above its
// boundary.
#include "modules/ignition/version_gates.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace ignition;

TEST(IgnitionVersionGates, EachGateAtItsBoundaries) {
  struct Gate {
    const char* name;
    std::function<bool(int32_t)> allows;
    // The versions checked and whether the gate holds for each.
    std::vector<std::pair<int32_t, bool>> versions;
  };
  using namespace gates;
  const Gate table[] = {
      {"at most 8 points below 0x200",
       curveLimitedToEightPoints,
       {{0x1FF, true}, {0x200, false}, {0x201, false}}},
      {"points above the limiter 0x200-0x701",
       appendsPointsAboveLimiter,
       {{0x1FF, false},
        {0x200, true},
        {0x201, true},
        {0x700, true},
        {0x701, true},
        {0x702, false},
        {0x703, false}}},
      {"read stops after the curves below 0x205",
       readStopsAfterCurves,
       {{0x204, true}, {0x205, false}, {0x206, false}}},
      {"offset field edits Offset below 0x303",
       offsetFieldEditsOffset,
       {{0x302, true}, {0x303, false}, {0x304, false}}},
      {"FlagsB from 0x400", hasFlagsB, {{0x3FF, false}, {0x400, true}, {0x401, true}}},
      {"adjustment from 0x404", adjustmentAllowed, {{0x403, false}, {0x404, true}, {0x405, true}}},
      {"engine test and required software from 0x500",
       checksEngineAndRequiredSoftware,
       {{0x4FF, false}, {0x500, true}, {0x501, true}}},
      {"automatic adjustment from 0x501",
       automaticAdjustmentAllowed,
       {{0x500, false}, {0x501, true}, {0x502, true}}},
      {"PIN from 0x504", hasPin, {{0x503, false}, {0x504, true}, {0x505, true}}},
      {"FlagsC and vehicle information from 0x602",
       hasFlagsCAndVehicleInfo,
       {{0x601, false}, {0x602, true}, {0x603, true}}},
      {"FlagsD from 0x702", hasFlagsD, {{0x701, false}, {0x702, true}, {0x703, true}}},
      {"rpm-meter test from 0x702",
       rpmMeterTestAllowed,
       {{0x701, false}, {0x702, true}, {0x703, true}}},
      {"control dialog from 0x703",
       controlDialogAllowed,
       {{0x702, false}, {0x703, true}, {0x704, true}}},
      {"online tuning from 0x705",
       onlineTuningAllowed,
       {{0x704, false}, {0x705, true}, {0x706, true}}},
      {"diagnosis from 0x300", diagnosisAllowed, {{0x2FF, false}, {0x300, true}, {0x301, true}}},
      {"old firmware below 8.3",
       isOldFirmware,
       {{0x7FF, true}, {0x802, true}, {0x803, false}, {0x804, false}, {0x900, false}}},
  };
  for (const Gate& g : table) {
    for (const auto& [version, holds] : g.versions) {
      EXPECT_EQ(g.allows(version), holds) << g.name << " at 0x" << std::hex << version;
    }
  }
}

TEST(IgnitionVersionGates, LimiterMaximumChangesWithMajorSix) {
  EXPECT_EQ(gates::maximumLimiterRpm(0x5FF), 9950);
  EXPECT_EQ(gates::maximumLimiterRpm(0x600), 12500);
  EXPECT_EQ(gates::maximumLimiterRpm(0x601), 12500);
}

// The full version word: patch in bits 12-15.
TEST(IgnitionVersionGates, VehicleInformationWrittenOutside700To703Patch2) {
  const std::pair<uint32_t, bool> words[] = {{0x0602, true},  {0x06FF, true},  {0x0700, false},
                                             {0x0701, false}, {0x0702, false}, {0x0703, false},
                                             {0x2703, false}, {0x3703, true},  {0x4703, true},
                                             {0xF702, false}, {0x0704, true},  {0x0803, true}};
  for (const auto& [word, written] : words) {
    EXPECT_EQ(gates::writesVehicleInfo(word), written) << std::hex << word;
  }
}
