#include "sim/module_model.h"

#include <gtest/gtest.h>

#include "bus_helpers.h"
#include "sim/bus.h"

namespace sim {
namespace {

using test::frameBytes;
using test::reply;
using test::sendFrame;

class SimDisplayModule : public ::testing::Test {
 protected:
  static Scenario scenario() {
    Scenario s;
    ModuleSetup m(0x40);
    m.typeWord = 0x1234;
    m.firmwareVersion = 0x0203;
    m.requiredSoftwareVersion = 0x0105;
    m.period = 0x0102;
    m.memory[0x10] = 0x77;
    m.memory[0x11] = 0x66;
    m.liveValues[3] = 0xABCD;
    m.statusBytes[2] = 9;
    m.readOnly = {0x11};
    s.modules.push_back(m);
    return s;
  }

  Bus bus{scenario()};
  ModuleModel& module() { return *bus.moduleAt(0x40); }
};

TEST_F(SimDisplayModule, AnswersEveryCommandWithItsOwnNibble) {
  struct Case {
    std::vector<uint8_t> request;  // b0, b1, b2
    std::vector<uint8_t> reply;    // b0, b1, b2 of the expected reply
  };
  const Case cases[] = {
      {{0x40, 0, 0}, {0x40, 0x12, 0x34}},     // type word
      {{0x41, 0, 0}, {0x41, 0x02, 0x03}},     // firmware version
      {{0x41, 0, 1}, {0x41, 0x01, 0x05}},     // required software version
      {{0x42, 0x10, 0}, {0x42, 0x10, 0x77}},  // read byte
      {{0x44, 2, 0}, {0x44, 2, 9}},           // status byte
      {{0x44, 6, 0}, {0x4F, 1, 0}},           // status index beyond 5
      {{0x45, 1, 1}, {0x45, 1, 1}},           // test output
      {{0x46, 3, 0}, {0x46, 0xAB, 0xCD}},     // live value word
      {{0x47, 0, 0}, {0x47, 0x01, 0x02}},     // period
      {{0x48, 2, 7}, {0x48, 2, 7}},           // display control
      {{0x49, 0x21, 0x44}, {0x49, 0x21, 0}},  // learn point
      {{0x4A, 8, 0x19}, {0x4A, 8, 0x19}},     // clock register
      {{0x4B, 3, 0}, {0x4B, 3, 0}},           // select page
      {{0x4C, 1, 200}, {0x4C, 1, 200}},       // output value
      {{0x4D, 0, 0}, {0x4F, 1, 0}},           // no command 13
      {{0x4E, 1, 8}, {0x4E, 1, 8}},           // special function, acknowledged
      {{0x4F, 0, 0}, {0x4F, 0, 0}},           // restart
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> expected = frameBytes(c.reply[0], c.reply[1], c.reply[2]);
    EXPECT_EQ(reply(bus, c.request[0], c.request[1], c.request[2]), expected)
        << "request " << hexBytes(c.request);
  }
  EXPECT_EQ(module().testOutputs.at(1), 1);
  EXPECT_EQ(module().displayCodes.at(2), 7);
  EXPECT_EQ(module().learnPoints, std::vector<uint8_t>{0x21});
  EXPECT_EQ(module().clockRegisters.at(8), 0x19);
  EXPECT_EQ(module().page, 3);
  EXPECT_EQ(module().outputValues.at(1), 200);
  EXPECT_EQ(module().restarts, 1);
}

TEST_F(SimDisplayModule, WriteStoresAndRepliesWhatIsStored) {
  EXPECT_EQ(reply(bus, 0x43, 0x10, 0x55), frameBytes(0x43, 0x10, 0x55));
  EXPECT_EQ(module().memory[0x10], 0x55);
  EXPECT_EQ(reply(bus, 0x42, 0x10, 0), frameBytes(0x42, 0x10, 0x55));
  // A cell that does not take the value reports the value it kept.
  EXPECT_EQ(reply(bus, 0x43, 0x11, 0x01), frameBytes(0x43, 0x11, 0x66));
  EXPECT_EQ(module().memory[0x11], 0x66);
}

TEST_F(SimDisplayModule, FrameWithWrongCheckGetsEchoButNoReply) {
  std::vector<uint8_t> bad = frameBytes(0x43, 0x10, 0x01);
  bad[3] ^= 0x20;
  EXPECT_EQ(test::sendBytes(bus, bad), bad);
  EXPECT_EQ(module().memory[0x10], 0x77);
  // The left-over bytes are shifted out while the next frame comes in.
  EXPECT_EQ(reply(bus, 0x42, 0x10, 0), frameBytes(0x42, 0x10, 0x77));
  EXPECT_EQ(bus.framesReceived(), 1);
}

TEST_F(SimDisplayModule, NobodyAnswersAnAddressWithoutModule) {
  const std::vector<uint8_t> f = frameBytes(0x91, 0, 0);
  EXPECT_EQ(sendFrame(bus, 0x91, 0, 0), f);
}

TEST_F(SimDisplayModule, SilentModuleCarriesOutWritesWithoutReplying) {
  module().answers = false;
  EXPECT_EQ(reply(bus, 0x43, 0x10, 0x05), std::vector<uint8_t>{});
  EXPECT_EQ(module().memory[0x10], 0x05);
}

TEST_F(SimDisplayModule, SleepingModuleIgnoresFramesUntilTheWakePulse) {
  module().asleep = true;
  EXPECT_EQ(reply(bus, 0x43, 0x10, 0x05), std::vector<uint8_t>{});
  EXPECT_EQ(module().memory[0x10], 0x77);
  // A zero byte at the module rate is no wake pulse, and neither is another byte at 300 baud.
  test::sendBytes(bus, {0x00});
  test::sendBytes(bus, {0x01}, 300);
  EXPECT_TRUE(module().asleep);
  EXPECT_EQ(test::sendBytes(bus, {0x00}, 300), std::vector<uint8_t>{0x00});  // echoed
  EXPECT_FALSE(module().asleep);
  // The stray zero at 9600 baud is shifted out by the next frame.
  EXPECT_EQ(reply(bus, 0x42, 0x10, 0), frameBytes(0x42, 0x10, 0x77));
}

TEST(SimBcd, SevenDigitsAndSubUnit) {
  EXPECT_EQ(decimalToBcd(1234567), 0x01234567u);
  EXPECT_EQ(decimalToBcd(21234567), 0x21234567u);
  EXPECT_EQ(decimalToBcd(0), 0u);
}

}  // namespace
}  // namespace sim
