// Writing the ignition module against the in-process simulator.
#include <gtest/gtest.h>

#include <algorithm>

#include "ignition_io_support.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace ignition {
namespace {

using test::Bench;
using test::firmware;

// A module whose relative temperature maximum has just been restarted, so
// that a write leaves every byte as it found it.
sim::Scenario settledModule() {
  sim::Scenario s;
  s.ignition.memory[0x03] = 0;
  s.ignition.info = sim::infoFromTexts({"Zeb", "Roadster", "Sport", "Zeile 1\nZeile 2"});
  return s;
}

TEST(WriteIgnition, RoundTripLeavesTheModuleAsItWas) {
  Bench b(settledModule());
  const auto memory = b.module().memory;
  const auto info = b.module().info;
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  const IgnitionState first = b.state;
  EXPECT_EQ(b.write(), texts::kTextWriteOk);
  EXPECT_EQ(b.prompts.messages.back(), texts::kTextWriteOk);
  EXPECT_TRUE(b.wrote());
  EXPECT_EQ(b.module().memory, memory);
  EXPECT_EQ(b.module().info, info);
  EXPECT_EQ(b.module().restarts, 1);
  EXPECT_FALSE(b.module().infoSelected());
  EXPECT_FALSE(b.link.serialPort().isOpen());
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_EQ(b.state.curve1.entries(), first.curve1.entries());
  EXPECT_EQ(b.state.curve2.entries(), first.curve2.entries());
  EXPECT_EQ(b.state.record.InfoKommentar, "Zeile 1\nZeile 2");
}

TEST(WriteIgnition, EditedValuesReachTheModule) {
  Bench b;
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  IgnitionRecord& r = b.state.record;
  r.Zylinder = 6;
  r.Ladezeit = 30;
  r.Offset = -4;
  r.Korrektur[11] = -3;
  r.UnterDruckB.pressure[0] = 40;
  r.UnterDruckB.angle[0] = -7;
  r.SchaltBlitz = 7025;
  b.state.limiterEdit = 8000;
  b.state.curve2.setPoints({{1000, 2}, {4000, 20}});
  ASSERT_EQ(b.write(), texts::kTextWriteOk);
  const auto& m = b.module().memory;
  EXPECT_EQ(m[0x01], 6);
  EXPECT_EQ(m[0x04], 30);
  EXPECT_EQ(m[0x86], 30) << "both copies get the charge time";
  EXPECT_EQ(r.LadezeitUrsprung, 30);
  EXPECT_EQ(m[0x05], 160);
  EXPECT_EQ(r.limiterRpm, 8000);
  EXPECT_EQ(m[0x81], 124);
  EXPECT_EQ(m[0x7B], 0xFD);
  EXPECT_EQ(m[0xD0], 40);
  EXPECT_EQ(m[0xD1], 0xF9);
  EXPECT_EQ(m[0x65], 141);
  // Curve 2 with the shift of -4 added, ended by 255 and the last angle.
  const std::vector<uint8_t> curve2(m.begin() + 0x88, m.begin() + 0x8E);
  EXPECT_EQ(curve2, (std::vector<uint8_t>{20, 0xFE, 80, 16, 255, 16}));
}

TEST(WriteIgnition, RefusedCurveEndsTheWriteWithItsOwnMessage) {
  Bench b;
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  b.state.record.Offset = 5;
  b.state.curve1.setPoints({{800, 38}});
  EXPECT_EQ(b.write(), 0);
  EXPECT_EQ(b.prompts.messages.back(), texts::kTextCheckCurveAndOffset);
  EXPECT_EQ(b.module().restarts, 0);

  EXPECT_FALSE(b.wrote()) << "a refusal known in advance writes nothing";

  b.state.record.Offset = 0;
  b.state.limiterEdit = 13000;  // more than a byte can hold
  EXPECT_EQ(b.write(), texts::kTextParameterOutOfRange);
  EXPECT_EQ(b.module().memory[0x05], 180);
  EXPECT_FALSE(b.wrote());
}

TEST(WriteIgnition, RefusalInTheSecondCurveLeavesTheModuleUntouched) {
  Bench b;
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  const auto before = b.module().memory;
  b.state.record.FlagsB |= bits::kFlagsBCrankSender;
  b.state.record.KwZaehne = 36;
  b.state.curve2.setPoints({{800, 41}});
  EXPECT_EQ(b.write(), 0);
  EXPECT_EQ(b.prompts.messages.back(), texts::kTextCheckCurveAndOffset);
  EXPECT_FALSE(b.wrote());
  EXPECT_EQ(b.module().memory, before);

  // A line whose rpm byte would end the curve early (byte 0) is refused the
  // same way, before anything is written.
  b.prompts.messages.clear();
  b.state.curve2.clear();
  b.state.curve2.addUnchecked("00000 rpm   5");
  EXPECT_EQ(b.write(), 0);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{texts::kTextCheckCurveAndOffset});
  EXPECT_FALSE(b.wrote());
  EXPECT_EQ(b.module().memory, before);
}

// A module that uses one curve only keeps the other one empty; reading and
// writing it back must work and leave the empty curve as a bare end marker.
TEST(WriteIgnition, EmptyCurveIsWrittenAsItsEndMarker) {
  struct Case {
    uint16_t firmware;
    uint8_t firstRpmByte;  // how the module marks its empty curve 2
    std::vector<uint8_t> curve1;
  };
  // Curve 1 (800 rpm 5 degrees, 3000 rpm 30 degrees) with the module's
  // limiter of 9000 rpm (byte 180): firmware 0x600 adds (9000, 30) and the
  // ramp point 9000 + 100 * ((30 + 40) / 10) = 9700 rpm (byte 194) at -40.
  const std::vector<uint8_t> ramped = {16, 5, 60, 30, 180, 30, 194, 0xD8, 255, 0xD8};
  const std::vector<uint8_t> plain = {16, 5, 60, 30, 255, 30};
  const Case cases[] = {
      {0x600, 255, ramped}, {0x600, 0, ramped}, {0x702, 255, plain}, {0x702, 0, plain}};
  for (const Case& c : cases) {
    sim::Scenario s = firmware(c.firmware);
    s.ignition.memory[0x88] = c.firstRpmByte;
    Bench b(s);
    ASSERT_EQ(b.read(), texts::kTextReadOk) << std::hex << c.firmware;
    ASSERT_EQ(b.state.curve2.size(), 0);
    b.prompts.yesNoAnswers = {true};  // old firmware asks before writing
    EXPECT_EQ(b.write(), texts::kTextWriteOk) << std::hex << c.firmware;
    const auto& m = b.module().memory;
    EXPECT_EQ(std::vector<uint8_t>(m.begin() + 0x08, m.begin() + 0x08 + c.curve1.size()), c.curve1)
        << std::hex << c.firmware;
    EXPECT_EQ(m[0x88], 255) << std::hex << c.firmware;
    EXPECT_EQ(m[0x89], 0) << std::hex << c.firmware;
  }
}

TEST(WriteIgnition, OldFirmwareAsksFirst) {
  for (bool yes : {false, true}) {
    Bench b(firmware(0x0709));
    ASSERT_EQ(b.read(), texts::kTextReadOk);
    b.prompts.messages.clear();
    b.prompts.yesNoAnswers = {yes};
    EXPECT_EQ(b.write(), yes ? texts::kTextWriteOk : texts::kTextCancelled);
    EXPECT_EQ(b.prompts.questions, std::vector<int32_t>{texts::kTextOldFirmwareWrite});
    EXPECT_EQ(b.wrote(), yes);
    if (!yes) {
      EXPECT_TRUE(b.prompts.messages.empty()) << "declining needs no message";
    }
  }
}

TEST(WriteIgnition, RunningEngineIsRefusedBeforeAnyWrite) {
  Bench b;
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  b.module().period = 900;
  EXPECT_EQ(b.write(), texts::kTextEngineRunning);
  EXPECT_FALSE(b.wrote());
}

TEST(WriteIgnition, LongCommentEndsBeforeAddress255) {
  Bench b;
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  IgnitionRecord& r = b.state.record;
  r.InfoHersteller = "A";
  r.InfoTyp = "B";
  r.InfoAusfuehrung = "C";
  r.InfoKommentar = std::string(300, 'x');
  ASSERT_EQ(b.write(), texts::kTextWriteOk);

  // The comment starts at 6; the byte for 255 is written as 0 and ends it.
  EXPECT_EQ(r.InfoKommentar, std::string(249, 'x'));
  // The writes between the write's area select and leave.
  std::vector<int> written;
  bool inArea = false;
  for (const sim::TranscriptEntry& e : b.bus.transcript()) {
    if (e.pc.size() != 4) continue;
    if (e.pc[0] == 0xEE && e.pc[1] == 3) inArea = true;
    if (e.pc[0] == 0xEE && e.pc[1] == 1) inArea = false;
    if (inArea && e.pc[0] == 0xE3) written.push_back(e.pc[1] << 8 | e.pc[2]);
  }
  ASSERT_EQ(written.size(), 256u);
  EXPECT_EQ(written.back(), 255 << 8 | 0);
  const auto& info = b.module().info;
  EXPECT_EQ(std::string(info.begin(), info.begin() + 6), std::string("A\0B\0C\0", 6));
  EXPECT_EQ(std::string(info.begin() + 6, info.end()), std::string(249, 'x'))
      << "the module's page buffer keeps only committed pages";

  ASSERT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_EQ(b.state.record.InfoKommentar, std::string(249, 'x'));
}

TEST(WriteIgnition, VehicleInformationFollowsTheFirmware) {
  struct Case {
    uint16_t version;
    bool written;
  };
  const Case cases[] = {{0x0601, false}, {0x0602, true}, {0x0700, false}, {0x0702, false},
                        {0x2703, false}, {0x3703, true}, {0x0704, true},  {0x0803, true}};
  for (const Case& c : cases) {
    Bench b(firmware(c.version));
    ASSERT_EQ(b.read(), texts::kTextReadOk);
    b.state.record.InfoHersteller = "Zeb";
    b.prompts.yesNoAnswers = {true};
    ASSERT_EQ(b.write(), texts::kTextWriteOk) << std::hex << c.version;
    EXPECT_EQ(b.module().info[0] == 'Z', c.written) << std::hex << c.version;
  }
}

TEST(FoldTemperatureMaximum, KeepsTheHottestReading) {
  struct Case {
    uint8_t relative, absolute;
    uint8_t absoluteAfter;
  };
  const Case cases[] = {{140, 130, 140}, {100, 110, 110}, {120, 120, 120}, {90, 255, 90}};
  for (const Case& c : cases) {
    sim::Scenario s;
    s.ignition.memory = {{0x03, c.relative}, {0x07, c.absolute}};
    Bench b(s);
    EXPECT_EQ(foldTemperatureMaximum(b.state, b.link, b.prompts), 0);
    EXPECT_EQ(b.module().memory[0x07], c.absoluteAfter)
        << int(c.relative) << "/" << int(c.absolute);
    EXPECT_EQ(b.module().memory[0x03], 0);
  }
  // Every write folds.
  sim::Scenario s;
  s.ignition.memory = {{0x03, 140}, {0x07, 130}};
  Bench b(s);
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  ASSERT_EQ(b.write(), texts::kTextWriteOk);
  EXPECT_EQ(b.module().memory[0x07], 140);
  EXPECT_EQ(b.module().memory[0x03], 0);
}

TEST(WriteIgnition, WaitWindowStepsOncePerFrame) {
  Bench b;
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  b.prompts.waitSteps = 0;
  ASSERT_EQ(b.write(), texts::kTextWriteOk);
  EXPECT_EQ(b.prompts.lastWaitSteps, 200);
  EXPECT_EQ(b.prompts.lastWaitText, texts::kTextWritingModule);
  EXPECT_GT(b.prompts.waitSteps, 0);
  EXPECT_EQ(b.prompts.waitSteps, b.prompts.framesAtClose - b.prompts.framesAtOpen);
}

TEST(WriteIgnition, FailedAreaSelectEndsTheWrite) {
  // Find the write's area select in a clean run, then lose its reply.
  Bench probe;
  ASSERT_EQ(probe.read(), texts::kTextReadOk);
  const int readFrames = probe.bus.framesReceived();
  ASSERT_EQ(probe.write(), texts::kTextWriteOk);
  const int select = probe.frameNumber(0xEE, 3, 120, readFrames + 1);
  ASSERT_GT(select, 0);

  sim::Scenario s;
  s.faults.dropReply.push_back({select, 0});
  Bench b(s);
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_EQ(b.write(), texts::kTextTooFewBytes);
  // A module that did not take the select would store the texts' bytes in
  // its configuration memory: nothing may follow the failed select.
  EXPECT_EQ(b.bus.framesReceived(), select);
  EXPECT_EQ(b.module().restarts, 0);
}

}  // namespace
}  // namespace ignition
