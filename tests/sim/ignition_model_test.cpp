#include "sim/ignition_model.h"

#include <gtest/gtest.h>

#include "bus_helpers.h"
#include "sim/bus.h"

namespace sim {
namespace {

using test::frameBytes;
using test::reply;

class SimIgnition : public ::testing::Test {
 protected:
  Bus bus{Scenario()};
  IgnitionModel& ign() { return *bus.ignition(); }

  uint8_t readByte(uint8_t address) {
    const std::vector<uint8_t> r = reply(bus, 0xE2, address, 0);
    EXPECT_EQ(r.size(), 4u);
    EXPECT_EQ(r[1], address);
    return r.size() == 4 ? r[2] : 0;
  }
  std::vector<uint8_t> special(uint8_t code, uint8_t value) {
    return reply(bus, 0xEE, code, value);
  }
};

TEST_F(SimIgnition, DefaultMemoryIsAPlausibleConfiguration) {
  EXPECT_EQ(readByte(0x01), 4);
  EXPECT_EQ(readByte(0x02), 4);
  EXPECT_EQ(readByte(0x04), 25);
  EXPECT_GT(readByte(0x05), 0);
  // The rpm curve ends with 255 within its 20 slots, and so do the pressure curves.
  auto endsWith255 = [&](int base, int slots) {
    for (int i = 0; i < slots; ++i) {
      if (readByte(static_cast<uint8_t>(base + 2 * i)) == 255) return true;
    }
    return false;
  };
  EXPECT_TRUE(endsWith255(0x08, 20));
  EXPECT_TRUE(endsWith255(0x88, 20));
  EXPECT_TRUE(endsWith255(0x50, 8));
  EXPECT_TRUE(endsWith255(0xD0, 8));
  // Serial number 0123456 in BCD, the top digit 0.
  EXPECT_EQ(readByte(0xFC), 0x00);
  EXPECT_EQ(readByte(0xFD), 0x12);
  EXPECT_EQ(readByte(0xFE), 0x34);
  EXPECT_EQ(readByte(0xFF), 0x56);
  for (uint8_t a : {0xF1, 0xE3, 0xE4, 0xF8, 0xF9}) EXPECT_NE(readByte(a), 0xFF) << int(a);
}

TEST_F(SimIgnition, RefusesWritesWhileTheEngineRuns) {
  ign().period = 1500;
  EXPECT_EQ(reply(bus, 0xE7, 0, 0), frameBytes(0xE7, 0x05, 0xDC));
  EXPECT_EQ(reply(bus, 0xE3, 0x01, 6), frameBytes(0xEF, kErrorEngineRunning, 0));
  EXPECT_EQ(ign().memory[0x01], 4);
  ign().period = 0;
  EXPECT_EQ(reply(bus, 0xE3, 0x01, 6), frameBytes(0xE3, 0x01, 6));
  EXPECT_EQ(ign().memory[0x01], 6);
}

TEST_F(SimIgnition, VehicleInformationKeepsOnlyCommittedBytes) {
  ASSERT_EQ(special(kSpecialSelectInfo, 120), frameBytes(0xEE, 3, 120));
  EXPECT_TRUE(ign().infoSelected());
  EXPECT_EQ(reply(bus, 0xE3, 0, 'Z'), frameBytes(0xE3, 0, 'Z'));
  EXPECT_EQ(reply(bus, 0xE3, 1, 0), frameBytes(0xE3, 1, 0));
  // Reads of the area see the bytes written so far, not the configuration memory.
  EXPECT_EQ(readByte(0), 'Z');
  EXPECT_EQ(ign().memory[0x00], 0xFF);
  EXPECT_EQ(special(kSpecialCommitInfo, 0), frameBytes(0xEE, 4, 0));
  EXPECT_EQ(reply(bus, 0xE3, 2, 'x'), frameBytes(0xE3, 2, 'x'));
  EXPECT_EQ(special(kSpecialLeaveInfo, 0), frameBytes(0xEE, 1, 0));
  EXPECT_FALSE(ign().infoSelected());
  EXPECT_EQ(ign().info[0], 'Z');
  EXPECT_EQ(ign().info[1], 0);
  EXPECT_EQ(ign().info[2], 0xFF) << "a byte that was never committed must be lost";
  // Back in the configuration memory.
  EXPECT_EQ(readByte(0x01), 4);
}

TEST_F(SimIgnition, VehicleInformationBufferHoldsOnePage) {
  special(kSpecialSelectInfo, 120);
  reply(bus, 0xE3, 62, 'a');
  reply(bus, 0xE3, 63, 'b');
  // The next page reloads the buffer: 62 and 63 were never committed.
  reply(bus, 0xE3, 64, 'c');
  special(kSpecialCommitInfo, 0);
  reply(bus, 0xE3, 127, 'd');
  special(kSpecialCommitInfo, 0);
  special(kSpecialLeaveInfo, 0);
  EXPECT_EQ(ign().info[62], 0xFF);
  EXPECT_EQ(ign().info[63], 0xFF);
  EXPECT_EQ(ign().info[64], 'c');
  EXPECT_EQ(ign().info[127], 'd');
}

TEST_F(SimIgnition, VehicleInformationEndsAtAddress254) {
  special(kSpecialSelectInfo, 120);
  EXPECT_EQ(reply(bus, 0xE3, 254, 'a'), frameBytes(0xE3, 254, 'a'));
  // Nothing lives at 255: a zero seems to land, anything else is reported as not stored.
  EXPECT_EQ(reply(bus, 0xE3, 255, 0), frameBytes(0xE3, 255, 0));
  EXPECT_EQ(reply(bus, 0xE3, 255, 'b'), frameBytes(0xE3, 255, 0));
  special(kSpecialCommitInfo, 0);
  EXPECT_EQ(ign().info[254], 'a');
  EXPECT_EQ(ign().memory[0xFF], 0x56) << "the serial number must stay untouched";
}

TEST_F(SimIgnition, PinStatusAndTries) {
  ign().pin = 0x1A2B;
  EXPECT_EQ(special(kSpecialPinStatus, 0), frameBytes(0xEE, 0x40, kPinSet));
  // A wrong PIN counts; the fifth wrong one blocks even the right PIN.
  for (int i = 1; i <= kPinTries; ++i) {
    special(kSpecialPinHigh, 0x1A);
    EXPECT_EQ(special(kSpecialPinLow, 0x2C), frameBytes(0xEE, 0x42, 0)) << i;
    EXPECT_EQ(ign().memory[kWrongPinCounter], i);
  }
  EXPECT_EQ(special(kSpecialPinStatus, 0)[2], kPinSet | kPinBlocked);
  special(kSpecialPinHigh, 0x1A);
  EXPECT_EQ(special(kSpecialPinLow, 0x2B)[2], 0);
  EXPECT_FALSE(ign().pinGiven);
}

TEST_F(SimIgnition, RightPinIsAcceptedAndLetsThePinChange) {
  ign().pin = 0x1A2B;
  ign().memory[kWrongPinCounter] = 2;
  // Without the old PIN, a new one is refused.
  special(kSpecialNewPinHigh, 0x00);
  EXPECT_EQ(special(kSpecialNewPinLow, 0x01)[2], 0);
  EXPECT_EQ(ign().pin, 0x1A2B);

  EXPECT_EQ(special(kSpecialPinHigh, 0x1A), frameBytes(0xEE, 0x41, 0x1A));
  const std::vector<uint8_t> r = special(kSpecialPinLow, 0x2B);
  ASSERT_EQ(r.size(), 4u);
  EXPECT_NE(r[2], 0);
  EXPECT_EQ(special(kSpecialPinStatus, 0)[2], kPinSet | kPinGiven);
  EXPECT_EQ(ign().memory[kWrongPinCounter], 0);

  special(kSpecialNewPinHigh, 0x43);
  EXPECT_EQ(special(kSpecialNewPinLow, 0x21), frameBytes(0xEE, 0x44, 0x21));
  EXPECT_EQ(ign().pin, 0x4321);
  // A restart forgets that the PIN was given.
  reply(bus, 0xEF, 0, 0);
  EXPECT_EQ(special(kSpecialPinStatus, 0)[2], kPinSet);
}

TEST_F(SimIgnition, NoPinSetMeansNoTryIsAccepted) {
  special(kSpecialPinHigh, 0);
  EXPECT_EQ(special(kSpecialPinLow, 0)[2], 0);
  EXPECT_EQ(ign().memory[kWrongPinCounter], 0);
  EXPECT_EQ(special(kSpecialPinStatus, 0)[2], 0);
}

TEST_F(SimIgnition, OtherSpecialFunctionsAreAcknowledged) {
  EXPECT_EQ(special(0x21, 240), frameBytes(0xEE, 0x21, 240));
  EXPECT_EQ(ign().specialFunctions.back(), std::make_pair(uint8_t(0x21), uint8_t(240)));
}

}  // namespace
}  // namespace sim
