#include <gtest/gtest.h>

#include <vector>

#include "spark_test_packets.h"
#include "viewers/spark/spark_core.h"

namespace {

using spark_test::packet;

constexpr int64_t kMs = 1000;

// Four cylinders. Each call sends one packet whose events follow the last
// one by the given ticks (1250 = 6000 rpm, 1000 = 7500, 1500 = 5000).
class ColumnLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    feed({1250, 1250, 1250, 1250}, 0);  // gives the stream its first stamp
    core.startColumnLoop(0);
    ASSERT_TRUE(core.columnPass(10 * kMs, false));  // column 0: 6000 rpm
  }
  void feed(std::array<uint16_t, 4> deltas, int64_t now, bool corrupt = false) {
    std::array<uint16_t, 4> stamps{};
    for (int i = 0; i < 4; ++i) stamps[i] = stamp = static_cast<uint16_t>(stamp + deltas[i]);
    core.Receive(packet(stamps, corrupt), now);
  }
  size_t lastColumn() const {
    return core.columnIndex() == 0 ? core.minima().size() - 1 : core.columnIndex() - 1u;
  }

  spark::SparkCore core{4, 313, 4.0};  // columns 0-4
  uint16_t stamp = 1000;
};

TEST_F(ColumnLoop, ColumnTakesLowestAndHighestSpeedSinceTheLastColumn) {
  EXPECT_DOUBLE_EQ(core.minima()[0], 6000.0);
  EXPECT_DOUBLE_EQ(core.maxima()[0], 6000.0);
  EXPECT_TRUE(core.dataFlag());
  feed({1250, 1000, 1500, 1250}, 12 * kMs);
  feed({1250, 1250, 1250, 1250}, 15 * kMs);
  EXPECT_FALSE(core.columnPass(19 * kMs, false));  // 9 ms since the last column
  EXPECT_TRUE(core.columnPass(20 * kMs, false));
  EXPECT_EQ(core.columnIndex(), 2);
  EXPECT_DOUBLE_EQ(core.minima()[1], 5000.0);
  EXPECT_DOUBLE_EQ(core.maxima()[1], 7500.0);
  // The column extremes start afresh.
  EXPECT_DOUBLE_EQ(core.columnMinimum(), 100000.0);
  EXPECT_DOUBLE_EQ(core.columnMaximum(), 0.0);
}

TEST_F(ColumnLoop, ShortSilenceHoldsLastValuesLongOneDropsToZero) {
  feed({1250, 1000, 1500, 1250}, 15 * kMs);
  ASSERT_TRUE(core.columnPass(20 * kMs, false));  // data clock restarted at 20 ms
  int64_t now = 20 * kMs;
  for (int i = 0; i < 100; ++i) {  // up to 1020 ms: exactly 1 s, not more
    now += 10 * kMs;
    ASSERT_TRUE(core.columnPass(now, false));
    ASSERT_DOUBLE_EQ(core.minima()[lastColumn()], 5000.0) << now;
    ASSERT_DOUBLE_EQ(core.maxima()[lastColumn()], 7500.0) << now;
    ASSERT_TRUE(core.dataFlag());
  }
  ASSERT_TRUE(core.columnPass(now + 10 * kMs, false));
  EXPECT_DOUBLE_EQ(core.minima()[lastColumn()], 0.0);
  EXPECT_DOUBLE_EQ(core.maxima()[lastColumn()], 0.0);
  EXPECT_FALSE(core.dataFlag());
  // The 16-bit stamps wrapped several times meanwhile: the first event after
  // the silence has no interval.
  feed({30000, 1250, 1250, 1250}, now + 15 * kMs);
  EXPECT_DOUBLE_EQ(core.columnMinimum(), 6000.0);
}

TEST_F(ColumnLoop, ColumnIndexWrapsAfterTheChartWidth) {
  std::vector<int> indices;
  for (int i = 2; i <= 6; ++i) {
    ASSERT_TRUE(core.columnPass(i * 10 * kMs, false));
    indices.push_back(core.columnIndex());
  }
  EXPECT_EQ(indices, (std::vector<int>{2, 3, 4, 0, 1}));
}

TEST_F(ColumnLoop, PhaseAdvancesOneColumnPeriodAndWrapsAtOne) {
  EXPECT_NEAR(core.phase(), 0.01, 1e-12);
  for (int i = 2; i <= 150; ++i) ASSERT_TRUE(core.columnPass(i * 10 * kMs, false));
  EXPECT_NEAR(core.phase(), 0.5, 1e-9);
}

TEST_F(ColumnLoop, ErrorMarksItsColumnAndDisturbedClearsTwoSecondsAfterLastError) {
  feed({1250, 1250, 1250, 1250}, 12 * kMs, true);
  ASSERT_TRUE(core.columnPass(20 * kMs, false));
  EXPECT_TRUE(core.disturbedColumns()[1]);
  EXPECT_DOUBLE_EQ(core.maxima()[1], 6000.0);  // the speeds still count
  ASSERT_TRUE(core.columnPass(30 * kMs, false));
  EXPECT_FALSE(core.disturbedColumns()[2]);
  EXPECT_FALSE(core.errorFlag());

  core.ComEvent(500 * kMs);           // a later error restarts the period
  core.GestörtTimerTick(2100 * kMs);  // past the first error's 2 s
  EXPECT_TRUE(core.disturbedFlag());
  core.GestörtTimerTick(2499 * kMs);
  EXPECT_TRUE(core.disturbedFlag());
  core.GestörtTimerTick(2500 * kMs);
  EXPECT_FALSE(core.disturbedFlag());
}

TEST_F(ColumnLoop, PauseFreezesColumnsThenFirstColumnShowsWholePause) {
  const uint16_t index = core.columnIndex();
  feed({1000, 1250, 1250, 1250}, 20 * kMs);
  EXPECT_FALSE(core.columnPass(100 * kMs, true));
  feed({1250, 1250, 1500, 1250}, 500 * kMs);
  EXPECT_FALSE(core.columnPass(900 * kMs, true));
  EXPECT_EQ(core.columnIndex(), index);
  ASSERT_TRUE(core.columnPass(1200 * kMs, false));
  EXPECT_DOUBLE_EQ(core.minima()[index], 5000.0);
  EXPECT_DOUBLE_EQ(core.maxima()[index], 7500.0);
  EXPECT_TRUE(core.dataFlag());
}

TEST_F(ColumnLoop, StartAndReleaseClearTheColumns) {
  ASSERT_DOUBLE_EQ(core.maxima()[0], 6000.0);
  core.releaseConnect();
  EXPECT_EQ(core.maxima(), std::vector<double>(5, 0.0));
  EXPECT_EQ(core.minima(), std::vector<double>(5, 0.0));
  // A new connection's first event has no interval to the old stream.
  feed({30000, 1250, 1250, 1250}, 0);
  EXPECT_DOUBLE_EQ(core.columnMinimum(), 6000.0);
}

}  // namespace
