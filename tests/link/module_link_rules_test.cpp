// Frame and reply rules of the module link against a scripted adapter.
#include <gtest/gtest.h>

#include <memory>

#include "link/module_link.h"
#include "scripted_device.h"
#include "texts/text_ids.h"

using namespace testing_support;
using buslink::ModuleLink;

namespace {

class LinkRules : public ::testing::Test {
 protected:
  LinkRules() {
    auto device = std::make_unique<ScriptedDevice>(clock);
    dev = device.get();
    link = std::make_unique<ModuleLink>(std::move(device), clock);
    link->setPortNumber(5);
    EXPECT_EQ(link->openPort(), 0);
    link->setMessageHook([this](int32_t id) { shown.push_back(id); });
  }
  // selectModule without the idle check's time-out mattering.
  void select(uint8_t address) { ASSERT_EQ(link->selectModule(address), 0); }

  StepClock clock;
  ScriptedDevice* dev = nullptr;
  std::unique_ptr<ModuleLink> link;
  std::vector<int32_t> shown;
};

TEST_F(LinkRules, ReplyClassesOfReadByte) {
  struct Case {
    const char* name;
    std::vector<uint8_t> reply;
    int32_t result;
  };
  std::vector<uint8_t> badCheck = frame(0xE2, 0x10, 7);
  badCheck[3] ^= 0xFF;
  const Case cases[] = {
      {"answered", frame(0xE2, 0x10, 7), 0},
      {"unknown command", frame(0xEF, 1, 0), texts::kTextUnknownCommand},
      {"engine running", frame(0xEF, 3, 0), texts::kTextEngineRunning},
      {"other error class", frame(0xEF, 7, 0), texts::kTextReceiveError},
      {"wrong command nibble", frame(0xE5, 0x10, 7), texts::kTextReceiveError},
      {"other address", frame(0xE2, 0x11, 7), texts::kTextReceiveError},
      {"check byte wrong", badCheck, texts::kTextChecksumWrong},
      {"three bytes", {0xE2, 0x10, 7}, texts::kTextTooFewBytes},
  };
  select(0xE0);
  for (const Case& c : cases) {
    dev->replies.push_back(c.reply);
    uint8_t value = 0;
    EXPECT_EQ(link->readByte(0x10, value), c.result) << c.name;
    if (c.result == 0) {
      EXPECT_EQ(value, 7);
    }
    dev->pending.clear();
  }
}

TEST_F(LinkRules, FrameLayoutAndCheckByte) {
  select(0xE0);
  dev->written.clear();
  dev->replies.push_back(frame(0xE2, 0x81, 131));
  uint8_t value = 0;
  ASSERT_EQ(link->readByte(0x81, value), 0);
  EXPECT_EQ(dev->written, (std::vector<uint8_t>{0xE2, 0x81, 0x00, 0x5A ^ 0xE2 ^ 0x81}));
  EXPECT_EQ(value, 131);
}

TEST_F(LinkRules, EchoMismatch) {
  select(0xE0);
  uint8_t value = 0;
  // An echo whose check byte alone differs is no valid frame any more.
  dev->corruptEchoIndex = 3;
  EXPECT_EQ(link->readByte(1, value), texts::kTextChecksumWrong);
  dev->pending.clear();
  // A valid frame that is not what was sent.
  dev->corruptEchoIndex = 1;
  dev->revalidateEcho = true;
  EXPECT_EQ(link->readByte(1, value), texts::kTextSendError);
}

TEST_F(LinkRules, WriteByteRetriesThreeTimesWithPauses) {
  select(0xE0);
  for (int i = 0; i < 3; ++i) dev->replies.push_back(frame(0xE3, 0x04, 99));
  dev->written.clear();
  clock.sleeps.clear();
  EXPECT_EQ(link->writeByte(0x04, 20), texts::kTextEepromWriteError);
  EXPECT_EQ(dev->written.size(), 12u);
  EXPECT_EQ(clock.sleeps, (std::vector<uint32_t>{2, 50, 2, 50, 2}));
}

TEST_F(LinkRules, WriteByteOutcomes) {
  select(0xE0);
  // Confirmed on the second try.
  dev->replies.push_back(frame(0xE3, 0x04, 99));
  dev->replies.push_back(frame(0xE3, 0x04, 20));
  EXPECT_EQ(link->writeByte(0x04, 20), 0);
  // Confirmed for another address: no further tries.
  dev->written.clear();
  dev->replies.push_back(frame(0xE3, 0x05, 20));
  EXPECT_EQ(link->writeByte(0x04, 20), texts::kTextEepromWriteError);
  EXPECT_EQ(dev->written.size(), 4u);
  // Out of range: nothing sent.
  dev->written.clear();
  EXPECT_EQ(link->writeByte(0x04, 256), texts::kTextParameterOutOfRange);
  EXPECT_TRUE(dev->written.empty());
}

TEST_F(LinkRules, NoReplyModeReturnsAfterEcho) {
  select(0xE0);
  link->setNoReply(1);
  dev->replies.push_back(frame(0xE3, 0x04, 1));
  EXPECT_EQ(link->writeByte(0x04, 20), 0);
  EXPECT_EQ(dev->pending.size(), 4u) << "the reply must stay unread";
  dev->pending.clear();
  EXPECT_EQ(link->restartModule(), 0);
  link->setNoReply(0);
  dev->replies.push_back(frame(0xEF, 9, 0));
  EXPECT_EQ(link->restartModule(), 0) << "any reply with command nibble 15 is a restart";
}

TEST_F(LinkRules, StatusByteIndexAboveFiveSendsNothing) {
  select(0xE0);
  dev->written.clear();
  uint8_t value = 0;
  EXPECT_EQ(link->readStatusByte(6, value), 1);
  EXPECT_TRUE(dev->written.empty());
  dev->replies.push_back(frame(0xE4, 2, 0x33));
  EXPECT_EQ(link->readStatusByte(2, value), 0);
  EXPECT_EQ(value, 0x33);
  dev->replies.push_back(frame(0xE4, 3, 0x33));
  EXPECT_EQ(link->readStatusByte(2, value), texts::kTextComError);
}

TEST_F(LinkRules, ClockRegisterSendsBcdOfLastTwoDigits) {
  select(0x70);
  dev->written.clear();
  dev->replies.push_back(frame(0x7A, 8, 0x19));
  EXPECT_EQ(link->writeClockRegister(8, 2019), 0);
  EXPECT_EQ(dev->written[2], 0x19);
  dev->replies.push_back(frame(0x7A, 8, 0x18));
  EXPECT_EQ(link->writeClockRegister(8, 2019), texts::kTextComError);
}

TEST_F(LinkRules, SelectBySerialLimits) {
  select(0x20);
  dev->written.clear();
  for (uint32_t bad : {0x0999999u, 0x999999Au}) {
    EXPECT_EQ(link->selectBySerial(bad), texts::kTextWrongSerialNumber);
  }
  EXPECT_TRUE(dev->written.empty());
  EXPECT_EQ(shown, (std::vector<int32_t>{8053, 8053}));
  dev->replies.push_back({});
  dev->replies.push_back(frame(0x17, 0x45, 0x67));
  EXPECT_EQ(link->selectBySerial(0x1234567), 0);
  EXPECT_EQ(dev->written, (std::vector<uint8_t>{0x16, 0x01, 0x23, 0x5A ^ 0x16 ^ 0x01 ^ 0x23, 0x17,
                                                0x45, 0x67, 0x5A ^ 0x17 ^ 0x45 ^ 0x67}));
  dev->replies.push_back({});
  dev->replies.push_back(frame(0x17, 0x45, 0x66));
  EXPECT_EQ(link->selectBySerial(0x1234567), texts::kTextModuleNotFound);
}

TEST_F(LinkRules, SerialNumberDigits) {
  struct Case {
    uint8_t bytes[4];
    uint32_t serial;
  };
  const Case cases[] = {
      {{0x11, 0x23, 0x45, 0x67}, 0},  // first digit not 0
      {{0x01, 0x23, 0x45, 0x67}, 1234567},
      {{0x00, 0x12, 0x34, 0x5A}, 0},  // a digit above 9
  };
  select(0xE0);
  for (const Case& c : cases) {
    for (int i = 0; i < 4; ++i) dev->replies.push_back(frame(0xE2, 0xFC + i, c.bytes[i]));
    uint32_t serial = 99;
    EXPECT_EQ(link->readSerialNumber(serial), 0);
    EXPECT_EQ(serial, c.serial);
  }
  dev->written.clear();
  for (int i = 0; i < 4; ++i) {
    const uint8_t bcd[4] = {0x01, 0x23, 0x45, 0x67};
    dev->replies.push_back(frame(0xE3, 0xFC + i, bcd[i]));
  }
  EXPECT_EQ(link->writeSerialNumber(1234567), 0);
  ASSERT_EQ(dev->written.size(), 16u);
  const uint8_t expected[4] = {0x01, 0x23, 0x45, 0x67};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(dev->written[4 * i + 2], expected[i]);
}

TEST_F(LinkRules, StreamFrameFoundAfterStrayBytes) {
  select(0x20);
  auto f = frame(';', 0x12, 0x34);
  dev->pending = {0xAA, 0xBB};
  for (uint8_t b : f) dev->pending.push_back(b);
  uint8_t d1 = 0, d2 = 0;
  EXPECT_EQ(link->readStreamFrame(d1, d2), 4);
  EXPECT_EQ(d1, 0x12);
  EXPECT_EQ(d2, 0x34);
  EXPECT_TRUE(dev->pending.empty());
  // A line that never forms a frame ends with "nothing", not a hang.
  dev->streaming = true;
  EXPECT_EQ(link->readStreamFrame(d1, d2), 0);
}

TEST_F(LinkRules, LineIdleCheck) {
  EXPECT_EQ(link->checkLineIdle(), 0);
  dev->pending = {1, 2, 3};
  EXPECT_EQ(link->checkLineIdle(), 0) << "a short burst followed by a gap is idle";
  dev->streaming = true;
  dev->streamed = 0;
  EXPECT_EQ(link->checkLineIdle(), texts::kTextComBusy);
  EXPECT_EQ(dev->streamed, 4097);
  EXPECT_EQ(link->selectModule(0xE0), texts::kTextComBusy);
}

TEST_F(LinkRules, IdentificationErrorsBecomeAdapterOrModuleTexts) {
  select(0xE0);
  uint16_t v = 0;
  EXPECT_EQ(link->readFirmwareVersion(v), texts::kTextModuleNotFound);
  dev->replies.push_back(frame(0xE1, 0x08, 0x03));
  EXPECT_EQ(link->readFirmwareVersion(v), 0);
  EXPECT_EQ(v, 0x0803);
  dev->replies.push_back(frame(0xEF, 1, 0));
  EXPECT_EQ(link->readRequiredSoftwareVersion(v), texts::kTextModuleNotFound);
  dev->corruptEchoIndex = 0;
  EXPECT_EQ(link->readTypeId(v), texts::kTextAdapterNotFound);
}

TEST_F(LinkRules, PortNumberAndProgress) {
  EXPECT_EQ(link->portNumber(), 5 + 128);
  EXPECT_EQ(link->setPortNumber(6), 1);
  link->close();
  EXPECT_EQ(link->portNumber(), 5);
  EXPECT_EQ(link->setPortNumber(6), 0);
  int steps = 0;
  link->setProgressHook([&] { ++steps; });
  select(0xE0);
  dev->replies.push_back(frame(0xE2, 1, 1));
  dev->replies.push_back(frame(0xE2, 2, 2));
  uint16_t w = 0;
  EXPECT_EQ(link->readWord(1, w), 0);
  EXPECT_EQ(w, 0x0102);
  EXPECT_EQ(steps, 2);
}

TEST_F(LinkRules, RefusedSettingsDoNotLeaveAUsablePort) {
  link->close();
  dev->refuseLineSettings = true;
  EXPECT_EQ(link->openPort(), texts::kTextCannotOpenPort);
  EXPECT_FALSE(dev->isOpen());
  EXPECT_EQ(link->openPort(), texts::kTextCannotOpenPort) << "a retry must not pass";
  dev->refuseLineSettings = false;
  EXPECT_EQ(link->openPort(), 0);
}

TEST_F(LinkRules, AddressLowNibbleCannotChangeTheCommand) {
  select(0xE3);
  dev->written.clear();
  dev->replies.push_back(frame(0xE2, 0x10, 1));
  uint8_t value = 0;
  EXPECT_EQ(link->readByte(0x10, value), 0);
  EXPECT_EQ(dev->written[0], 0xE2);
}

TEST_F(LinkRules, SerialNumbersHaveSevenDigits) {
  select(0xE0);
  dev->written.clear();
  EXPECT_EQ(link->writeSerialNumber(10000000), texts::kTextParameterOutOfRange);
  EXPECT_TRUE(dev->written.empty());
}

}  // namespace
