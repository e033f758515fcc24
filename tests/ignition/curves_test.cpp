#include <gtest/gtest.h>

#include "modules/ignition/curve_list.h"
#include "modules/ignition/write_curve.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

using namespace ignition;

namespace {

CurveList curve(const std::vector<std::pair<int32_t, int32_t>>& points) {
  CurveList c;
  c.setPoints(points);
  return c;
}

}  // namespace

TEST(CurveList, EntriesRoundAndSort) {
  CurveList c = curve({{1000, 10}, {3000, 30}});
  EXPECT_EQ(c.addCurveEntry(1010, 12), texts::kTextRpmPresent);
  EXPECT_EQ(c.addCurveEntry(1030, 12), 0);
  EXPECT_EQ(c.entries(),
            (std::vector<std::string>{"01000 rpm  10", "01050 rpm  12", "03000 rpm  30"}));
  EXPECT_EQ(entryRpm(c.entries()[1]), 1050);
  EXPECT_EQ(entryAngle("00800 rpm  -5"), -5);
  EXPECT_EQ(c.removeAt(0), 0);
  EXPECT_EQ(c.removeAt(1), 0);
  EXPECT_EQ(c.removeAt(0), -1);
  EXPECT_EQ(c.size(), 0);
}

TEST(CurveList, SeventeenEntriesAtMost) {
  CurveList c;
  for (int i = 0; i < 17; ++i) ASSERT_EQ(c.addCurveEntry(500 + i * 500, i), 0);
  EXPECT_EQ(c.addCurveEntry(11000, 1), texts::kTextCurveTooManyEntries);
  EXPECT_EQ(c.size(), 17);
}

TEST(PressureList, InsertionOrderAndRounding) {
  PressureList p;
  for (int32_t mBar : {1000, 500, 0}) ASSERT_EQ(p.insertPressureEntry(mBar, 0), 0);
  EXPECT_EQ(p.insertPressureEntry(700, 3), 0);
  EXPECT_EQ(p.entries(), (std::vector<std::string>{"1000 mBar    0", "0700 mBar    3",
                                                   "0500 mBar    0", "0000 mBar    0"}));
  EXPECT_EQ(p.insertPressureEntry(695, 1), 2) << "695 rounds to the 700 that is present";
  PressureList q;
  EXPECT_EQ(q.insertPressureEntry(995, 0), 0);
  EXPECT_EQ(q.insertPressureEntry(-995, 0), 0);
  EXPECT_EQ(q.entries(), (std::vector<std::string>{"1000 mBar    0", "-1000 mBar    0"}));
  EXPECT_EQ(pressureEntryValue(q.entries()[1]), -1000);
  for (int i = 0; i < 6; ++i) ASSERT_EQ(q.insertPressureEntry(100 + 100 * i, 0), 0);
  EXPECT_EQ(q.insertPressureEntry(50, 0), 1);
}

TEST(WriteCurve, Plans) {
  struct Case {
    const char* name;
    int32_t firmware;
    int32_t limiter;
    int32_t offset;
    std::vector<std::pair<int32_t, int32_t>> entries;
    int32_t status;
    std::vector<CurvePoint> points;
  };
  const std::vector<std::pair<int32_t, int32_t>> example = {{800, 10}, {3000, 30}, {7000, 36}};
  const Case cases[] = {
      {"0x600 cuts and ramps",
       0x600,
       6000,
       0,
       example,
       0,
       {{800, 10}, {3000, 30}, {6000, 34}, {6700, -40}}},
      {"0x702 only cuts", 0x702, 6000, 0, example, 0, {{800, 10}, {3000, 30}, {6000, 34}}},
      {"limiter 0", 0x600, 0, 0, example, 0, {{800, 10}, {3000, 30}, {7000, 36}}},
      {"limiter above the curve adds its point",
       0x600,
       8000,
       0,
       {{800, 10}, {3000, 30}},
       0,
       {{800, 10}, {3000, 30}, {8000, 30}, {8700, -40}}},
      {"offset shifts every angle", 0x702, 0, 3, {{800, 10}}, 0, {{800, 13}}},
      {"angle plus offset beyond 40", 0x702, 0, 5, {{800, 38}}, 1, {}},
      {"first point above the limiter", 0x702, 6000, 0, {{7000, 20}}, 0, {{6000, 20}}},
      {"ramp held below the end marker",
       0x600,
       12500,
       0,
       {{800, 40}, {12500, 40}},
       0,
       {{800, 40}, {12500, 40}, {12700, -40}}},
      // An empty list is the end marker alone: nothing to cut, nothing to ramp.
      {"empty curve, 0x600 with a limiter", 0x600, 6000, 0, {}, 0, {}},
      {"empty curve, 0x702", 0x702, 6000, 0, {}, 0, {}},
  };
  for (const Case& c : cases) {
    CurvePlan plan = planCurve(curve(c.entries), c.offset, c.limiter, c.firmware);
    EXPECT_EQ(plan.status, c.status) << c.name;
    if (c.status == 0) {
      EXPECT_EQ(plan.points, c.points) << c.name;
    }
  }
}

TEST(WriteCurve, PointLimits) {
  CurveList nine;
  for (int i = 0; i < 9; ++i) nine.addCurveEntry(1000 + 500 * i, 0);
  EXPECT_EQ(planCurve(nine, 0, 0, 0x1FF).status, texts::kTextCurveTooManyEntries);
  EXPECT_EQ(planCurve(nine, 0, 0, 0x200).status, 0);
  CurveList eighteen;
  for (int i = 0; i < 18; ++i) eighteen.addUnchecked(curveEntryText(500 + 500 * i, 0));
  EXPECT_EQ(planCurve(eighteen, 0, 0, 0x803).status, texts::kTextCurveTooManyEntries);
  CurveList odd;
  odd.addUnchecked("800 rpm 5");
  EXPECT_EQ(planCurve(odd, 0, 0, 0x803).status, texts::kTextParameterOutOfRange);
}

// Lines from a settings file outside the editor's 150-12500 rpm are written
// as their rpm byte says; only a byte the module takes for the end of the
// curve is refused.
TEST(WriteCurve, RpmBytesThatEndTheCurveAreRefused) {
  struct Case {
    const char* line;
    int32_t limiter;
    int32_t firmware;
    int32_t status;
    std::vector<CurvePoint> points;
  };
  const Case cases[] = {
      {"00100 rpm   5", 0, 0x803, 0, {{100, 5}}},       // byte 2
      {"00025 rpm   5", 0, 0x803, 0, {{25, 5}}},        // byte 1
      {"12700 rpm   5", 0, 0x803, 0, {{12700, 5}}},     // byte 254
      {"00024 rpm   5", 0, 0x803, 1, {}},               // byte 0
      {"00000 rpm   5", 0, 0x803, 1, {}},               // byte 0
      {"12750 rpm   5", 0, 0x803, 1, {}},               // byte 255
      {"12800 rpm   5", 0, 0x803, 1, {}},               // byte 256, kept as 0
      {"12750 rpm   5", 6000, 0x803, 0, {{6000, 5}}},   // cut at the limiter first
      {"03000 rpm   5", 12750, 0x803, 0, {{3000, 5}}},  // the limiter is never reached
      {"03000 rpm   5", 12750, 0x600, 1, {}},           // ... but 0x600 adds its point
  };
  for (const Case& c : cases) {
    CurveList list;
    list.addUnchecked(c.line);
    CurvePlan plan = planCurve(list, 0, c.limiter, c.firmware);
    EXPECT_EQ(plan.status, c.status) << c.line << " limiter " << c.limiter;
    if (c.status == 0) {
      EXPECT_EQ(plan.points, c.points) << c.line;
    }
  }
}
