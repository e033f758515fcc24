#include "sim/serial_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "bus_helpers.h"
#include "sim/bus.h"

namespace sim {
namespace {

using test::frameBytes;
using test::reply;
using test::sendFrame;

ModuleSetup serialModule(uint32_t serial, uint16_t type) {
  ModuleSetup m(0x20);
  m.serial = serial;
  m.typeWord = type;
  return m;
}

// The PC's search, frame by frame: bit by bit with searchBit, then select the
// serial found, read its type, mark it found and go again.
std::map<uint32_t, uint16_t> searchModules(Bus& bus) {
  std::map<uint32_t, uint16_t> found;
  EXPECT_EQ(sendFrame(bus, kResetSearch, 0, 0).size(), 4u);
  for (;;) {
    uint32_t serial = 0;
    bool answered = false;
    for (uint8_t bit = 0; bit < 28; ++bit) {
      const std::vector<uint8_t> zero = sendFrame(bus, kSearchBit, bit, 0);
      EXPECT_LE(zero.size(), 5u) << "at most one byte may follow the echo";
      if (zero.size() == 5) {
        answered = true;
      } else if (sendFrame(bus, kSearchBit, bit, 1).size() == 5) {
        serial |= 1u << bit;
        answered = true;
      }
      if (!answered) return found;
    }
    sendFrame(bus, kSelectSerialHigh, (serial >> 24) & 0x0F, (serial >> 16) & 0xFF);
    sendFrame(bus, kSelectSerialLow, (serial >> 8) & 0xFF, serial & 0xFF);
    const std::vector<uint8_t> type = reply(bus, 0x20, 0, 0);
    EXPECT_EQ(type.size(), 4u);
    if (type.size() != 4) return found;
    found[serial] = static_cast<uint16_t>(type[1] << 8 | type[2]);
    if (found.size() == 20) return found;
    for (uint8_t i = 0; i < 4; ++i) {
      sendFrame(bus, kMarkFound, i,
                static_cast<uint8_t>(serial >> (8 * i)) & (i == 3 ? 0x0F : 0xFF));
    }
  }
}

class SimSerialModules : public ::testing::Test {
 protected:
  static Scenario scenario() {
    Scenario s;
    s.serialModules = {serialModule(1234567, 0x3101), serialModule(1234566, 0x3202),
                       serialModule(7654321, 0x3303), serialModule(1, 0x3404)};
    ModuleSetup silent = serialModule(5555555, 0x3505);
    silent.answers = false;
    ModuleSetup sleeping = serialModule(6666666, 0x3606);
    sleeping.asleep = true;
    s.serialModules.push_back(silent);
    s.serialModules.push_back(sleeping);
    return s;
  }

  Bus bus{scenario()};
};

TEST_F(SimSerialModules, BitSearchFindsEveryModuleThatAnswers) {
  const std::map<uint32_t, uint16_t> expected = {
      {0x1234567, 0x3101}, {0x1234566, 0x3202}, {0x7654321, 0x3303}, {0x0000001, 0x3404}};
  EXPECT_EQ(searchModules(bus), expected);
  // A reset makes all of them findable again.
  EXPECT_EQ(searchModules(bus), expected);
}

TEST_F(SimSerialModules, SearchBitAnswersOnceAndDropsTheOthersFromTheRound) {
  // Bit 0: 1234567 and 7654321 and 0000001 have 1, 1234566 has 0.
  EXPECT_EQ(sendFrame(bus, kSearchBit, 0, 0).size(), 5u);
  // Only 1234566 is left in this round; its bit 1 is 1.
  EXPECT_EQ(sendFrame(bus, kSearchBit, 1, 0).size(), 4u);
  EXPECT_EQ(sendFrame(bus, kSearchBit, 1, 1).size(), 5u);
  // A finished round (markFound) lets everyone take part again.
  for (uint8_t i = 0; i < 4; ++i) sendFrame(bus, kMarkFound, i, 0xFF);
  EXPECT_EQ(sendFrame(bus, kSearchBit, 0, 1).size(), 5u);
}

TEST_F(SimSerialModules, SelectionRoutesAddress20ToOneModule) {
  EXPECT_EQ(sendFrame(bus, kSelectSerialHigh, 0x07, 0x65).size(), 4u);
  EXPECT_EQ(reply(bus, kSelectSerialLow, 0x43, 0x21), frameBytes(kSelectSerialLow, 0x43, 0x21));
  ASSERT_NE(bus.serialModules().selected(), nullptr);
  EXPECT_EQ(bus.serialModules().selected()->serialBcd(), 0x07654321u);
  EXPECT_EQ(reply(bus, 0x23, 0x10, 0x42), frameBytes(0x23, 0x10, 0x42));
  EXPECT_EQ(bus.serialModules().module(2).memory[0x10], 0x42);
  EXPECT_EQ(bus.serialModules().module(0).memory[0x10], 0xFF);

  // An unknown serial selects nobody and gets no reply.
  sendFrame(bus, kSelectSerialHigh, 0x09, 0x99);
  EXPECT_EQ(reply(bus, kSelectSerialLow, 0x99, 0x99), std::vector<uint8_t>{});
  EXPECT_EQ(bus.serialModules().selected(), nullptr);
  EXPECT_EQ(reply(bus, 0x20, 0, 0), std::vector<uint8_t>{});
}

TEST_F(SimSerialModules, ModuleWithoutRepliesIsSelectedSilently) {
  sendFrame(bus, kSelectSerialHigh, 0x05, 0x55);
  EXPECT_EQ(reply(bus, kSelectSerialLow, 0x55, 0x55), std::vector<uint8_t>{});
  EXPECT_EQ(reply(bus, 0x23, 0x10, 0x01), std::vector<uint8_t>{});
  EXPECT_EQ(bus.serialModules().module(4).memory[0x10], 0x01);
}

}  // namespace
}  // namespace sim
