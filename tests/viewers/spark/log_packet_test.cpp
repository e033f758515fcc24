#include "viewers/spark/log_packet.h"

#include <gtest/gtest.h>

#include "spark_test_packets.h"

namespace {

TEST(LogPacket, CheckIsXorOfAllBytesTo3A) {
  auto good = spark_test::packet({0x1234, 0x5678, 0x9ABC, 0xDEF0});
  EXPECT_TRUE(spark::packetCheckOk(good.data()));
  for (size_t i = 0; i < good.size(); ++i) {
    auto bad = good;
    bad[i] ^= 0x01;
    EXPECT_FALSE(spark::packetCheckOk(bad.data())) << "byte " << i;
  }
  // The start byte counts in the check like every other byte.
  std::vector<uint8_t> zeros(22, 0);
  zeros[21] = 0x3A;
  EXPECT_TRUE(spark::packetCheckOk(zeros.data()));
}

TEST(LogPacket, StampsAreBigEndianFromOffsetTwo) {
  auto p = spark_test::packet({0x0102, 0xA0B0, 0xFFFF, 0x0000});
  EXPECT_EQ(spark::packetStamps(p.data()), (spark::Stamps{0x0102, 0xA0B0, 0xFFFF, 0x0000}));
}

struct DeltaCase {
  uint16_t previous;
  uint16_t current;
  uint32_t delta;
};

class StampDelta : public ::testing::TestWithParam<DeltaCase> {};

TEST_P(StampDelta, WrapCountsAs65535) {
  EXPECT_EQ(spark::stampDelta(GetParam().previous, GetParam().current), GetParam().delta);
}

INSTANTIATE_TEST_SUITE_P(Cases, StampDelta,
                         ::testing::Values(DeltaCase{1000, 2250, 1250},
                                           DeltaCase{65000, 500, 1035},  // 500 + 65535 - 65000
                                           DeltaCase{1000, 1000, 65535}, DeltaCase{0, 0, 65535},
                                           DeltaCase{0, 65535, 65535}, DeltaCase{1, 0, 65534},
                                           DeltaCase{65535, 0, 0}));

struct SpeedCase {
  double cylinders;
  uint32_t delta;
  double rpm;  // 30 000 000 / (delta x cylinders), worked out by hand
};

class SpeedFormula : public ::testing::TestWithParam<SpeedCase> {};

TEST_P(SpeedFormula, FourStrokes) {
  const SpeedCase& c = GetParam();
  EXPECT_NEAR(spark::speedFromDelta(c.delta, c.cylinders, 4.0), c.rpm, c.rpm * 1e-12);
}

INSTANTIATE_TEST_SUITE_P(TwoToEightCylinders, SpeedFormula,
                         ::testing::Values(SpeedCase{2, 2500, 6000.0}, SpeedCase{3, 2000, 5000.0},
                                           SpeedCase{4, 1250, 6000.0}, SpeedCase{5, 1000, 6000.0},
                                           SpeedCase{6, 1000, 5000.0},
                                           SpeedCase{7, 1000, 30000.0 / 7.0},
                                           SpeedCase{8, 500, 7500.0},
                                           SpeedCase{4, 65535, 30000000.0 / 262140.0}));

}  // namespace
