#include <gtest/gtest.h>

#include <vector>

#include "spark_test_packets.h"
#include "viewers/spark/spark_core.h"

namespace {

using spark_test::append;
using spark_test::packet;

// Four cylinders: 1250 ticks = 6000 rpm, 1000 = 7500, 1500 = 5000.
const auto kFirst = packet({30000, 31250, 32250, 33750});
const auto kSecond = packet({35000, 36250, 37250, 38750});

class PacketSearch : public ::testing::Test {
 protected:
  spark::SparkCore core{10, 313, 4.0};
};

TEST_F(PacketSearch, FirstEventWithoutEarlierStampGivesNoSpeed) {
  // The first stamp has no predecessor; from the start value 0 it would
  // read 30000 ticks, 250 rpm, a dip the engine never made.
  core.Receive(kFirst, 0);
  EXPECT_DOUBLE_EQ(core.columnMinimum(), 5000.0);
  EXPECT_DOUBLE_EQ(core.columnMaximum(), 7500.0);
  EXPECT_EQ(core.lastTimeStamp(), 33750);
  EXPECT_FALSE(core.errorFlag());
  // The next packet's first event follows the previous packet's last one.
  core.startColumnLoop(0);
  ASSERT_TRUE(core.columnPass(10000, false));
  core.Receive(kSecond, 10000);
  EXPECT_DOUBLE_EQ(core.columnMinimum(), 5000.0);
  EXPECT_DOUBLE_EQ(core.columnMaximum(), 7500.0);
}

TEST_F(PacketSearch, BytesBeforeStartAreDroppedAndBufferWithoutStartIsKept) {
  core.Receive({0x00, 0x13, 0x37}, 0);
  EXPECT_EQ(core.receiveBuffer(), (std::vector<uint8_t>{0x00, 0x13, 0x37}));
  std::vector<uint8_t> rest = {0x44};
  append(rest, std::vector<uint8_t>(kFirst.begin(), kFirst.begin() + 5));
  core.Receive(rest, 0);
  EXPECT_EQ(core.receiveBuffer(), std::vector<uint8_t>(kFirst.begin(), kFirst.begin() + 5));
  core.Receive(std::vector<uint8_t>(kFirst.begin() + 5, kFirst.end()), 0);
  EXPECT_TRUE(core.receiveBuffer().empty());
  EXPECT_DOUBLE_EQ(core.columnMaximum(), 7500.0);
  EXPECT_FALSE(core.errorFlag());
}

TEST_F(PacketSearch, ByteByByteArrivalDecodesLikeOneBlock) {
  std::vector<uint8_t> stream;
  append(stream, kFirst);
  append(stream, kSecond);
  for (uint8_t b : stream) core.Receive(&b, 1, 0);
  EXPECT_TRUE(core.receiveBuffer().empty());
  EXPECT_EQ(core.lastTimeStamp(), 38750);
  EXPECT_DOUBLE_EQ(core.columnMinimum(), 5000.0);
  EXPECT_DOUBLE_EQ(core.columnMaximum(), 7500.0);
}

TEST_F(PacketSearch, CorruptedPacketStillCountsAndMarksTheError) {
  core.Receive(packet({30000, 31250, 32250, 33750}, true), 0);
  EXPECT_DOUBLE_EQ(core.columnMinimum(), 5000.0);
  EXPECT_DOUBLE_EQ(core.columnMaximum(), 7500.0);
  EXPECT_TRUE(core.errorFlag());
  EXPECT_TRUE(core.disturbedFlag());
}

TEST_F(PacketSearch, LostByteLeavesTheRestOfTheArrivalInStep) {
  auto shortened = packet({40000, 41250, 42250, 43750});
  shortened.erase(shortened.begin() + 5);
  const auto third = packet({45000, 46250, 47250, 48750});
  const auto fourth = packet({50000, 51250, 52250, 53750});
  std::vector<uint8_t> stream;
  append(stream, kFirst);
  append(stream, shortened);
  append(stream, third);
  append(stream, fourth);
  core.Receive(stream, 0);
  EXPECT_TRUE(core.errorFlag());
  // The short packet swallows the next start byte; the search finds the
  // fourth packet and nothing is left over.
  EXPECT_TRUE(core.receiveBuffer().empty());
  EXPECT_EQ(core.lastTimeStamp(), 53750);

  core.startColumnLoop(0);
  ASSERT_TRUE(core.columnPass(10000, false));
  core.Receive(packet({55000, 56250, 57250, 58750}), 10000);
  EXPECT_DOUBLE_EQ(core.columnMinimum(), 5000.0);
  EXPECT_DOUBLE_EQ(core.columnMaximum(), 7500.0);
}

TEST_F(PacketSearch, StampsOneTickApartAcrossTheWrapGiveNoInfiniteSpeed) {
  core.Receive(packet({63035, 64285, 65535, 0}), 0);  // 1250, 1250, then 0 ticks
  EXPECT_DOUBLE_EQ(core.columnMinimum(), 6000.0);
  EXPECT_DOUBLE_EQ(core.columnMaximum(), 6000.0);
}

TEST_F(PacketSearch, EndlessStreamWithoutStartStaysBounded) {
  const std::vector<uint8_t> noise(4096, 0x55);
  for (int i = 0; i < 64; ++i) core.Receive(noise, 0);
  EXPECT_LE(core.receiveBuffer().size(), spark::kMaxBufferedBytes);
  core.Receive(kFirst, 0);
  EXPECT_TRUE(core.receiveBuffer().empty());
  EXPECT_DOUBLE_EQ(core.columnMaximum(), 7500.0);
}

TEST_F(PacketSearch, PortEventCountsAsTransmissionError) {
  core.ComEvent(0);
  EXPECT_TRUE(core.errorFlag());
  EXPECT_TRUE(core.disturbedFlag());
}

}  // namespace
