// The simulated bootloader: announcement, frames, flash and start-up.
#include <gtest/gtest.h>

#include <vector>

#include "sim/bus.h"
#include "sim/scenario_parser.h"
#include "tests/sim/bus_helpers.h"

namespace sim {
namespace {

std::vector<uint8_t> withCheck(std::vector<uint8_t> bytes) {
  uint8_t c = 0x55;
  for (uint8_t b : bytes) c ^= b;
  bytes.push_back(c);
  return bytes;
}

// Sends bytes at the bootloader's rate at time `us` and collects what is due
// then (echo and replies).
std::vector<uint8_t> boot(Bus& bus, const std::vector<uint8_t>& bytes, int64_t us,
                          int baud = 19200) {
  for (uint8_t b : bytes) bus.receive(b, baud, us);
  bus.advanceTo(us);
  std::vector<uint8_t> out;
  while (bus.hasOutput()) out.push_back(bus.takeOutput());
  return out;
}

Scenario withBootloader(bool defective) {
  Scenario s;
  BootloaderSetup b;
  b.baud = 19200;
  b.startsInBootloader = defective;
  b.flashSize = 1024;
  b.eraseBlock = 64;
  b.writeBlock = 32;
  s.ignition.bootloader = b;
  return s;
}

TEST(SimBootloader, ScenarioKeys) {
  const ScenarioResult r = parseScenario(
      "ignition\n"
      "  bootloader 19200\n"
      "  boot-defective\n"
      "  boot-version 0x0104\n"
      "  boot-id 0xAD85\n"
      "  boot-number 77\n"
      "  flash 8192 128 64\n"
      "  flash-ms 20 3\n"
      "  boot-timing 5 1000\n"
      "  boot-version-at 0x40\n"
      "  boot-fault drop-line 7\n"
      "  boot-fault power-cycle 9\n"
      "  boot-fault corrupt-reply 3\n"
      "  boot-fault refuse-erase 0\n");
  ASSERT_TRUE(r.scenario) << r.error;
  const BootloaderSetup& b = *r.scenario->ignition.bootloader;
  EXPECT_EQ(b.baud, 19200);
  EXPECT_TRUE(b.startsInBootloader);
  EXPECT_EQ(b.version, 0x0104);
  EXPECT_EQ(b.deviceId, 0xAD85);
  EXPECT_EQ(b.firmwareNumber, 77u);
  EXPECT_EQ(b.flashSize, 8192u);
  EXPECT_EQ(b.eraseBlock, 128u);
  EXPECT_EQ(b.writeBlock, 64u);
  EXPECT_EQ(b.eraseMs, 20);
  EXPECT_EQ(b.writeMs, 3);
  EXPECT_EQ(b.announceMs, 5);
  EXPECT_EQ(b.bootWaitMs, 1000);
  EXPECT_EQ(b.versionAt, 0x40u);
  EXPECT_EQ(b.dropLineAfterChunk, 7);
  EXPECT_EQ(b.powerCycleAfterChunk, 9);
  EXPECT_EQ(b.corruptReply, std::vector<int>{3});
  EXPECT_EQ(b.refuseErase, std::vector<int>{0});

  const char* bad[] = {
      "ignition\n  boot-defective\n",                       // before 'bootloader'
      "ignition\n  bootloader 38400\n",                     // not a bootloader rate
      "ignition\n  bootloader 9600\n  flash 1024 48 16\n",  // not a power of two
      "serial-module\n  serial 1234567\n  bootloader 9600\n",
      "ignition\n  bootloader 9600\n  boot-fault melt 3\n",
  };
  for (const char* text : bad) EXPECT_FALSE(parseScenario(text).scenario) << text;
}

TEST(SimBootloader, RestartAnnouncesAtItsRateAndSilencesTheModule) {
  Bus bus(withBootloader(false));
  EXPECT_EQ(test::reply(bus, 0xE1, 0, 0).size(), 4u);  // firmware answers
  EXPECT_EQ(test::reply(bus, 0xEF, 0, 0), test::frameBytes(0xEF, 0, 0));
  bus.setPcBaud(19200);
  bus.advanceTo(35000);  // announcements every 10 ms from the restart at 0
  std::vector<uint8_t> heard;
  while (bus.hasOutput()) heard.push_back(bus.takeOutput());
  EXPECT_EQ(heard, std::vector<uint8_t>(3, 0x55));
  EXPECT_TRUE(test::reply(bus, 0xE1, 0, 0).empty());  // link frames go unanswered
  bus.setPcBaud(9600);
  bus.advanceTo(45000);
  ASSERT_TRUE(bus.hasOutput());
  EXPECT_EQ(bus.takeOutput(), Bus::kGarbledByte);  // at the wrong rate
}

TEST(SimBootloader, AnswersOnlyFramesWithTheirCheckByte) {
  Bus bus(withBootloader(true));
  bus.setPcBaud(19200);
  bus.purgeOutput();
  EXPECT_EQ(boot(bus, {0xF1, 0xA5}, 100), (std::vector<uint8_t>{0xF1, 0xA5}));  // echo only
  EXPECT_EQ(boot(bus, {0xF1, 0xA4}, 200),
            (std::vector<uint8_t>{0xF1, 0xA4, 0xF1, 0x02, 0x00, 0xA6}));
  const std::vector<uint8_t> id = boot(bus, {0xF2, 0xA7}, 300);
  ASSERT_EQ(id.size(), 12u);
  EXPECT_EQ(std::vector<uint8_t>(id.begin() + 7, id.begin() + 11),
            (std::vector<uint8_t>{0x3A, 0x3D, 0x30, 0x37}));  // AD07, one digit a byte
}

TEST(SimBootloader, FlashNeedsEnableAndEraseAndWholeWriteBlocks) {
  Bus bus(withBootloader(false));
  BootloaderModel& bl = *bus.bootloaderAt(0xE0);
  bl.start(0);
  bus.setPcBaud(19200);
  std::vector<uint8_t> chunk = {0xF7, 0, 0, 0, 0x40};
  for (int i = 0; i < 16; ++i) chunk.push_back(0xF0);
  chunk = withCheck(chunk);
  // Refused before 0xF3: no reply beyond the echo.
  EXPECT_EQ(boot(bus, chunk, 1000).size(), chunk.size());
  boot(bus, withCheck({0xF3, 0x12, 0x56}), 2000);
  // Without an erase the old firmware's zero bits stay.
  boot(bus, chunk, 3000);
  std::vector<uint8_t> second = chunk;
  second[4] = 0x50;
  second.back() = withCheck(std::vector<uint8_t>(second.begin(), second.end() - 1)).back();
  boot(bus, second, 4000);
  EXPECT_EQ(bl.flash[0x40], 0x00);
  // Erased, then half a block: nothing is written until the block is complete.
  const std::vector<uint8_t> erase = withCheck({0xF8, 0, 0, 0, 0x40});
  EXPECT_EQ(boot(bus, erase, 5000).size(), 2 * erase.size());
  EXPECT_EQ(bl.flash[0x40], 0xFF);
  boot(bus, chunk, 6000);
  EXPECT_EQ(bl.flash[0x40], 0xFF);
  boot(bus, second, 7000);
  EXPECT_EQ(bl.flash[0x40], 0xF0);
  EXPECT_EQ(bl.flash[0x5F], 0xF0);
}

TEST(SimBootloader, StartsItsFirmwareOnlyWhenTheFirstBlockHoldsData) {
  for (const bool defective : {false, true}) {
    Bus bus(withBootloader(defective));
    bus.powerCycle(0);
    bus.advanceTo(2500000);  // past the 2 s the bootloader waits
    EXPECT_EQ(bus.bootloaderAt(0xE0)->active(), defective);
    bus.purgeOutput();
    EXPECT_EQ(test::reply(bus, 0xE1, 0, 0).empty(), defective);
  }
}

}  // namespace
}  // namespace sim
