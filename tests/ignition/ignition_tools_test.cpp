// The ignition tools: rpm-meter signal, control of the running module and
// the viewers' command lines, against the in-process simulator.
#include "modules/ignition/ignition_tools.h"

#include <gtest/gtest.h>

#include "ignition_io_support.h"

namespace {

using ignition::test::Bench;
using ignition::test::firmware;

constexpr int kSpecialFunction = 14;

// (code, value) of every special function frame sent to the ignition.
std::vector<std::pair<int, int>> specials(const Bench& b) {
  std::vector<std::pair<int, int>> out;
  for (const sim::TranscriptEntry& e : b.frames(kSpecialFunction)) out.push_back({e.pc[1], e.pc[2]});
  return out;
}

TEST(RpmMeter, PeriodIn125MicrosecondUnits) {
  struct Case {
    uint8_t strokes, cylinders;
    int32_t rpm;
    uint8_t period;
  };
  const Case cases[] = {
      {4, 4, 1000, 240}, {4, 4, 9000, 26}, {2, 1, 1000, 255},  // 480, limited
      {4, 4, 0, 240},                                        // below 1 counts as 1000
      {2, 3, 2000, 80},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ignition::rpmMeterPeriod(c.strokes, c.cylinders, c.rpm), c.period)
        << int(c.strokes) << "-stroke " << int(c.cylinders) << " cyl at " << c.rpm;
  }
}

TEST(RpmMeter, StartTakesTheModulesEngineAndRefusesOldFirmware) {
  {
    Bench b(firmware(0x0803));
    b.module().memory[0x01] = 3;
    b.module().memory[0x02] = 2;
    b.prompts.yesNoAnswers = {true};
    ASSERT_EQ(ignition::startRpmMeterTest(b.state, b.link, b.prompts), 0);
    EXPECT_EQ(b.prompts.questions, std::vector<int32_t>{9002});
    EXPECT_EQ(b.state.record.Zylinder, 3);
    EXPECT_EQ(b.state.record.Takte, 2);
    EXPECT_EQ(b.frames(5).size(), 1u) << "test output 1 off";
    ASSERT_EQ(ignition::sendRpmMeterPeriod(b.link, b.state.record, 2000), 0);
    EXPECT_EQ(specials(b).back(), (std::pair<int, int>{0x21, 80}));
  }
  {
    Bench b(firmware(0x0701));
    b.prompts.yesNoAnswers = {true};
    EXPECT_EQ(ignition::startRpmMeterTest(b.state, b.link, b.prompts), 8055);
    EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8055});
  }
  {
    Bench b;
    EXPECT_NE(ignition::startRpmMeterTest(b.state, b.link, b.prompts), 0);
    EXPECT_EQ(b.bus.framesReceived(), 0) << "declined: the module is not touched";
  }
}

TEST(Control, TicksInTurnAndShiftStopsAt15) {
  Bench b(firmware(0x0803));
  ASSERT_EQ(ignition::startControl(b.state, b.link, b.prompts), 0);
  ignition::ControlState c;
  for (int i = 0; i < 3; ++i) ignition::controlTick(c, b.link);
  EXPECT_EQ(specials(b), (std::vector<std::pair<int, int>>{{0x15, 0}, {0x14, 1}, {0x13, 0}}));
  for (int i = 0; i < 17; ++i) ignition::shiftControlCurve(c, b.link, +1);
  EXPECT_EQ(c.shift, 15);
  EXPECT_EQ(specials(b).back(), (std::pair<int, int>{0x13, 15}));
  for (int i = 0; i < 40; ++i) ignition::shiftControlCurve(c, b.link, -1);
  EXPECT_EQ(c.shift, -15);
  EXPECT_EQ(specials(b).back(), (std::pair<int, int>{0x13, 0xF1}));
  ignition::setControlCurve(c, b.link, 2);
  ignition::setControlSecondSpark(c, b.link, true);
  EXPECT_EQ(specials(b).back(), (std::pair<int, int>{0x15, 1}));
  EXPECT_EQ(c.curve, 2);
}

TEST(Control, RefusedOnOldFirmwareAndWhileLogging) {
  {
    Bench b(firmware(0x0702));
    EXPECT_EQ(ignition::startControl(b.state, b.link, b.prompts), 8055);
  }
  {
    Bench b(firmware(0x0803));
    b.state.record.Flags = 0x80;
    EXPECT_EQ(ignition::startControl(b.state, b.link, b.prompts), 8010);
    EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8010});
  }
}

TEST(Viewers, CommandLinesAndTheReadRecordTheyNeed) {
  ignition::IgnitionRecord r;
  r.Zylinder = 3;
  r.Takte = 2;
  r.KwZaehne = 60;
  r.KwLuecke = 2;
  const ignition::ViewerCall funkora = ignition::viewerCall(ignition::Viewer::Funkora, r, 3);
  EXPECT_EQ(funkora.program, "funkora");
  EXPECT_EQ(funkora.arguments, (std::vector<std::string>{"-com", "3", "-zyl", "6"}));
  // The port number as an open link keeps it.
  const ignition::ViewerCall taktora = ignition::viewerCall(ignition::Viewer::Taktora, r, 128 + 3);
  EXPECT_EQ(taktora.program, "taktora");
  EXPECT_EQ(taktora.arguments,
            (std::vector<std::string>{"-com", "3", "-zahn", "60", "-luecke", "2"}));

  Bench b;
  std::vector<ignition::ViewerCall> started;
  auto start = [&](const ignition::ViewerCall& call, std::string& why) {
    started.push_back(call);
    why = "not installed";
    return false;
  };
  std::string why;
  EXPECT_EQ(ignition::startViewer(ignition::Viewer::Funkora, b.state, b.link, b.prompts, start, why),
            8022);
  EXPECT_TRUE(started.empty());
  b.state.recordValid = true;
  b.link.setPortNumber(7);
  ASSERT_EQ(b.link.openPort(), 0);
  EXPECT_EQ(ignition::startViewer(ignition::Viewer::Funkora, b.state, b.link, b.prompts, start, why),
            0);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].arguments[1], "7");
  EXPECT_EQ(why, "not installed");
  EXPECT_EQ(b.link.openPort(), 0) << "the port was given free for the viewer";
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8022}) << "a failed start is not shown";
}

}  // namespace
