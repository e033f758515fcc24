#include "viewers/trigger/uc_zuend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/viewers/common/viewers_test_support.h"
#include "tests/viewers/trigger/scripted_port.h"
#include "viewers/common/err_log.h"

namespace {

using trigger::Recording;
using trigger::ucZuend;
using trigger_test::frame;
using trigger_test::join;
using trigger_test::ScriptedPort;

struct Fixture {
  Fixture() : zuend(port, port, rec, nullptr) {
    port.deliver = [this](const std::vector<uint8_t>& b) { zuend.ucCOM_Receive(b); };
  }
  // Echo of command `n` followed by the module's answer.
  void answer(int command, uint8_t b0, uint8_t b1, uint8_t b2) {
    const auto sent = trigger::commandFrame(command);
    port.answers.push_back(join({sent.begin(), sent.end()}, frame(b0, b1, b2)));
  }
  void scriptModule(uint8_t serial0, uint8_t version1, uint8_t version2, uint8_t type) {
    answer(1, 0xE2, 0xFC, serial0);
    answer(2, 0xE2, 0xFD, 0x23);
    answer(3, 0xE2, 0xFE, 0x45);
    answer(4, 0xE2, 0xFF, 0x67);
    answer(5, 0xE1, version1, version2);
    answer(6, 0xE0, type, 0);
    answer(7, 0xE2, 1, 4);
    answer(8, 0xE2, 2, 4);
    answer(9, 0xE2, 99, 60);
    answer(10, 0xE2, 100, 2);
    answer(11, 0xE2, 6, 0x30);
    answer(12, 0xE2, 135, 0x02);
  }

  ScriptedPort port;
  Recording rec;
  ucZuend zuend;
};

TEST(ucZuend, TwelveFramesAsTheLinkCommandsSendThem) {
  const std::vector<std::vector<uint8_t>> expected = {
      {0xE2, 0xFC, 0x00, 0x44}, {0xE2, 0xFD, 0x00, 0x45}, {0xE2, 0xFE, 0x00, 0x46},
      {0xE2, 0xFF, 0x00, 0x47}, {0xE1, 0x00, 0x00, 0xBB}, {0xE0, 0x00, 0x00, 0xBA},
      {0xE2, 0x01, 0x00, 0xB9}, {0xE2, 0x02, 0x00, 0xBA}, {0xE2, 0x63, 0x00, 0xDB},
      {0xE2, 0x64, 0x00, 0xDC}, {0xE2, 0x06, 0x00, 0xBE}, {0xE2, 0x87, 0x00, 0x3F},
      {0xEE, 0x20, 0x35, 0xA1},
  };
  for (int c = 1; c <= 13; ++c) {
    const auto f = trigger::commandFrame(c);
    EXPECT_EQ(std::vector<uint8_t>(f.begin(), f.end()), expected[static_cast<size_t>(c - 1)]) << c;
  }
}

TEST(ucZuend, ModuleInformationDecoded) {
  Fixture f;
  f.scriptModule(0x01, 0x21, 0x05, 30);
  ASSERT_TRUE(f.zuend.GetModulInfo());
  const trigger::ModuleValues& v = f.zuend.values();
  EXPECT_TRUE(f.zuend.ModInfoOk());
  EXPECT_EQ(v.ModSerienNr, "1234567");
  EXPECT_EQ(v.ModVersion, "V 1.5.2");
  EXPECT_EQ(v.ModTypNr, 30);
  EXPECT_EQ(v.ModTyp, "");
  EXPECT_EQ(v.ModZylinder, 4);
  EXPECT_EQ(v.ModTakte, 4);
  EXPECT_EQ(v.ModKwZaehne, 60);
  EXPECT_EQ(v.ModKwLuecke, 2);
  EXPECT_EQ(v.ModZylinder1, 1);
  EXPECT_EQ(v.ModLeertakt, 1);
  EXPECT_EQ(v.ModKwGeber, 1);
  EXPECT_EQ(f.port.sent.size(), 12u);
  EXPECT_TRUE(f.zuend.monitorRunning());
  EXPECT_FALSE(f.zuend.SendenAktiv());
}

TEST(ucZuend, LeadingZeroDigitsOfTheSerialNumber) {
  Fixture f;
  f.scriptModule(0x00, 0x03, 0x0A, 5);
  f.port.answers[1] = join({0xE2, 0xFD, 0x00, 0x45}, frame(0xE2, 0xFD, 0x12));
  f.port.answers[2] = join({0xE2, 0xFE, 0x00, 0x46}, frame(0xE2, 0xFE, 0x34));
  f.port.answers[3] = join({0xE2, 0xFF, 0x00, 0x47}, frame(0xE2, 0xFF, 0x56));
  ASSERT_TRUE(f.zuend.GetModulInfo());
  EXPECT_EQ(f.zuend.values().ModSerienNr, "0123456");
  EXPECT_EQ(f.zuend.values().ModVersion, "V 3.10.0");
  EXPECT_EQ(f.zuend.values().ModTyp, trigger::typeName(5));
}

TEST(ucZuend, NoAnswerFailsAfterATenthOfASecond) {
  Fixture f;
  EXPECT_FALSE(f.zuend.GetModulInfo());
  EXPECT_EQ(f.port.sent.size(), 1u);
  EXPECT_GT(f.port.clock, trigger::kAnswerTimeoutMicros);
  EXPECT_LE(f.port.clock, trigger::kAnswerTimeoutMicros + 2000);
  EXPECT_FALSE(f.zuend.ModInfoOk());
  EXPECT_FALSE(f.zuend.SendenAktiv());
}

TEST(ucZuend, WrongEchoAbortsTheCommandAtOnce) {
  Fixture f;
  f.port.answers.push_back(join(frame(0xE2, 0xFC, 0x01), frame(0xE2, 0xFC, 0x01)));
  EXPECT_FALSE(f.zuend.GetModulInfo());
  EXPECT_LT(f.port.clock, 10000);
}

TEST(ucZuend, WrongAnswerCountsAsAnsweredAndKeepsTheValue) {
  Fixture f;
  f.scriptModule(0x01, 0x21, 0x05, 3);
  // The version answer comes from another address.
  f.port.answers[4] = join({0xE1, 0x00, 0x00, 0xBB}, frame(0xE0, 0x21, 0x05));
  ASSERT_TRUE(f.zuend.GetModulInfo());
  EXPECT_EQ(f.zuend.values().ModVersion, "");
  EXPECT_EQ(f.zuend.values().ModTypNr, 3);
}

TEST(ucZuend, StrayByteIsDroppedWithOneLogLine) {
  viewers_test::TempFolder dir;
  viewers::CErrLog log(dir / "Err.log");
  log.LogEnabled(true);
  ScriptedPort port;
  Recording rec;
  ucZuend zuend(port, port, rec, &log);
  port.deliver = [&](const std::vector<uint8_t>& b) { zuend.ucCOM_Receive(b); };
  port.answers.push_back(join({0x17, 0xE2, 0xFC, 0x00, 0x44}, frame(0xE2, 0xFC, 0x01)));
  EXPECT_TRUE(zuend.SendData(1));
  EXPECT_EQ(zuend.values().ModSerienNr, "1");
  log.LogEnabled(false);
  const std::string text = viewers_test::readFile(dir / "Err.log");
  size_t lines = 0;
  for (size_t at = text.find("Pr\xFC"
                             "fsumme falsch.");
       at != std::string::npos; at = text.find("Pr\xFC"
                                               "fsumme falsch.",
                                               at + 1)) {
    ++lines;
  }
  EXPECT_EQ(lines, 1u);
}

TEST(ucZuend, UnknownCommandSendsNothing) {
  Fixture f;
  EXPECT_FALSE(f.zuend.SendData(0));
  EXPECT_FALSE(f.zuend.SendData(14));
  EXPECT_TRUE(f.port.sent.empty());
}

struct Connected : Fixture {
  Connected() {
    scriptModule(0x01, 0x21, 0x05, 3);
    EXPECT_TRUE(zuend.GetModulInfo());
  }
};

TEST(ucZuend, OscilloscopeFrameGivesEightSamplesOldestFirst) {
  Connected f;
  f.zuend.ucCOM_Receive(frame(0xEE, 0xA5, 0x0F));
  EXPECT_EQ(f.rec.DataCount, 8);
  EXPECT_EQ(f.rec.DataWrIdx, 8);
  EXPECT_EQ(std::vector<uint8_t>(f.rec.channelA.begin(), f.rec.channelA.begin() + 8),
            (std::vector<uint8_t>{1, 0, 1, 0, 0, 1, 0, 1}));
  EXPECT_EQ(std::vector<uint8_t>(f.rec.channelB.begin(), f.rec.channelB.begin() + 8),
            (std::vector<uint8_t>{0, 0, 0, 0, 1, 1, 1, 1}));
  EXPECT_TRUE(f.zuend.DatenempfangOszimode());
}

TEST(ucZuend, FrameAcrossTheRingEnd) {
  Connected f;
  f.rec.DataWrIdx = 59996;
  f.rec.DataCount = trigger::kRingSize;
  f.zuend.ucCOM_Receive(frame(0xEE, 0xFF, 0x00));
  EXPECT_EQ(f.rec.DataWrIdx, 4);
  EXPECT_EQ(f.rec.DataCount, trigger::kRingSize);
  for (size_t slot : {59996u, 59999u, 0u, 3u}) EXPECT_EQ(f.rec.channelA[slot], 1) << slot;
  EXPECT_EQ(f.rec.channelA[4], 0);
}

TEST(ucZuend, SplitFramesAndCorruptBytesResynchronise) {
  Connected f;
  const std::vector<uint8_t> a = frame(0xEE, 0xFF, 0xFF);
  f.zuend.ucCOM_Receive({a[0], a[1]});
  EXPECT_EQ(f.rec.DataCount, 0);
  f.zuend.ucCOM_Receive(join({a[2], a[3], 0x00, 0xEE}, frame(0xEE, 0x00, 0x00)));
  EXPECT_EQ(f.rec.DataCount, 16);
}

TEST(ucZuend, IgnoredBytesAreThrownAway) {
  Connected f;
  f.zuend.IgnoriereDatenempfang(true);
  f.zuend.ucCOM_Receive(frame(0xEE, 0xFF, 0xFF));
  EXPECT_EQ(f.rec.DataCount, 0);
  f.zuend.IgnoriereDatenempfang(false);
  f.zuend.ucCOM_Receive(frame(0xEE, 0xFF, 0xFF));
  EXPECT_EQ(f.rec.DataCount, 8);
}

TEST(ucZuend, MonitorRepeatsTheSwitchEveryHalfSecondWithoutFrames) {
  Connected f;
  const size_t before = f.port.sent.size();
  f.port.clock += 499000;
  f.zuend.monitorTick();
  EXPECT_EQ(f.port.sent.size(), before);
  f.port.clock += 2000;
  f.zuend.monitorTick();
  ASSERT_EQ(f.port.sent.size(), before + 1);
  EXPECT_EQ(f.port.sent.back(), (std::vector<uint8_t>{0xEE, 0x20, 0x35, 0xA1}));
  EXPECT_FALSE(f.zuend.DatenempfangOszimode());
  // Frames arriving restart the timer.
  f.zuend.ucCOM_Receive(frame(0xEE, 0x00, 0x00));
  f.port.clock += 400000;
  f.zuend.ucCOM_Receive(frame(0xEE, 0x00, 0x00));
  f.port.clock += 400000;
  f.zuend.monitorTick();
  EXPECT_EQ(f.port.sent.size(), before + 1);
  EXPECT_TRUE(f.zuend.DatenempfangOszimode());
}

TEST(ucZuend, ResetForgetsTheModule) {
  Connected f;
  f.zuend.IgnoriereDatenempfang(true);
  f.zuend.Abbruch();
  EXPECT_FALSE(f.zuend.ModInfoOk());
  EXPECT_FALSE(f.zuend.ignoring());
  EXPECT_FALSE(f.zuend.monitorRunning());
  EXPECT_EQ(f.zuend.values().ModSerienNr, "");
  EXPECT_EQ(f.zuend.values().ModKwZaehne, 0);
  f.zuend.ucCOM_Receive(frame(0xEE, 0xFF, 0xFF));
  EXPECT_EQ(f.rec.DataCount, 0);
}

}  // namespace
