// The configuration assistant with scripted answers: the series of
// questions, inputs and hints, and what it leaves in the record.
#include "modules/ignition/assistant.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "ignition_io_support.h"
#include "texts/assistant_text_ids.h"
#include "texts/text_table.h"

namespace {

using ignition::test::Bench;
using Text = std::optional<std::string>;  // nullopt: Cancel, the default stays
const Text kDefault = std::nullopt;

// A record whose type asks no sender, poti or multi-channel questions
// unless a test says so.
struct Series {
  shell::ScriptedPrompts prompts;
  ignition::IgnitionState state;
  std::string summary;

  Series(std::vector<bool> yes, std::vector<Text> typed) {
    ignition::initialiseState(state);
    state.recordValid = true;
    state.record.HwTyp = 0x0100;
    state.record.capability = {};
    prompts.yesNoAnswers.assign(yes.begin(), yes.end());
    prompts.textAnswers.assign(typed.begin(), typed.end());
  }
  void go() { ignition::runAssistantSteps(state, prompts, summary); }
  const ignition::IgnitionRecord& r() const { return state.record; }
  std::string hints(std::vector<int32_t> ids) const {
    std::string s;
    for (int32_t id : ids) {
      s += texts::text(id);
      s += '\n';
    }
    return s;
  }
};

TEST(Assistant, SixCylindersWithASlottedWheelInAConvertedDistributor) {
  // 4-stroke, soft limiter, no crankshaft wheel, not direct mode, converted,
  // slotted wheel; then a resting distribution: no; external units: no;
  // standard curves: no.
  Series run({true, false, false, false, true, true, false, false, false},
             {"6", kDefault, kDefault});
  run.state.record.HwTyp = 0x0200;  // a type that can distribute
  run.go();
  EXPECT_EQ(run.prompts.questions,
            (std::vector<int32_t>{8431, 8433, 8436, 8441, 8442, 8443, 8471, 8480, 8491}));
  EXPECT_EQ(run.prompts.textPrompts, (std::vector<int32_t>{8430, 8432, 8435}));
  EXPECT_EQ(run.prompts.messages, (std::vector<int32_t>{8448, 8492, 8495}));
  EXPECT_EQ(run.summary, run.hints({8448, 8492, 8495}));
  EXPECT_EQ(run.r().FlagsB, 0x02);
  EXPECT_EQ(run.r().Versatz, 40);
  EXPECT_EQ(run.r().KwZaehne, 60);
  EXPECT_EQ(run.r().KwLuecke, 2);
  EXPECT_EQ(run.r().Zylinder, 6);
  EXPECT_EQ(run.r().Takte, 4);
  EXPECT_EQ(run.r().Ladezeit, 25);
  EXPECT_EQ(run.state.limiterEdit, 9950);
}

TEST(Assistant, SlottedWheelByCylinderCount) {
  struct Case {
    const char* cylinders;
    std::vector<int32_t> messages;
    int teeth;
    int versatz;
  };
  const Case cases[] = {
      {"8", {8447, 8448, 8495}, 64, 100},
      {"4", {8448, 8495}, 60, 100},
      // Not possible with the standard wheels: the series ends with 8498.
      {"7", {8446, 8498}, 60, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cylinders);
    // ... external units: no; the standard curves are not asked on 8 and 4
    // (no: not direct mode, so 91 is asked: answer no).
    Series run({true, false, false, false, true, true, false, false},
               {c.cylinders, kDefault, kDefault});
    run.go();
    std::vector<int32_t> shown = run.prompts.messages;
    // 8492 comes before 8495 when the curves question was reached.
    shown.erase(std::remove(shown.begin(), shown.end(), 8492), shown.end());
    EXPECT_EQ(shown, c.messages);
    EXPECT_EQ(run.r().KwZaehne, c.teeth);
    EXPECT_EQ(run.r().Versatz, c.versatz);
    EXPECT_EQ(run.r().FlagsB & 0x02, 0x02);
  }
}

TEST(Assistant, CrankshaftWheelSetsWasteSparkAndChecksTheTeeth) {
  // 4 cylinders, 4-stroke, soft limiter, crankshaft wheel; 59 teeth do not
  // fit the 2 cylinders left by the waste spark, 58 do.
  Series run({true, false, true, false, false}, {"4", kDefault, kDefault, "59", "58", kDefault});
  run.go();
  EXPECT_EQ(run.prompts.textPrompts, (std::vector<int32_t>{8430, 8432, 8435, 8464, 8464, 8467}));
  EXPECT_EQ(run.prompts.messages.front(), texts::kTextTeethDoNotFitCylinders);
  EXPECT_EQ(run.r().Zylinder, 2);
  EXPECT_EQ(run.r().Takte, 2);
  EXPECT_EQ(run.r().Flags & 0x20, 0x20);
  EXPECT_EQ(run.r().FlagsB & 0x02, 0x02);
  EXPECT_EQ(run.r().KwZaehne, 58);
  EXPECT_EQ(run.r().KwLuecke, 2);
  EXPECT_EQ(run.r().Versatz, 0);
}

TEST(Assistant, SingleCylinderFourStrokeWithACrankshaftWheelDoesNotDivideByZero) {
  Series run({true, false, true, false, false}, {"1", kDefault, kDefault, "36", kDefault});
  run.go();
  EXPECT_EQ(run.r().Zylinder, 0);
  EXPECT_EQ(run.r().KwZaehne, 36);
  EXPECT_EQ(run.prompts.messages.back(), 8495);
}

TEST(Assistant, PotiRange) {
  struct Case {
    bool zeroToNine;
    int bits;
  };
  for (const Case c : {Case{true, 2}, Case{false, 3}}) {
    // ... no crankshaft wheel, direct mode (→ 70), external units: yes, no
    // rpm display, no logger, poti: yes, range 0-9: yes/no.
    Series run({true, false, false, true, true, false, false, true, c.zeroToNine},
               {"4", kDefault, kDefault});
    run.state.record.capability.potiQuestion = true;
    run.go();
    EXPECT_EQ(run.r().Flags & 0x03, c.bits);
    EXPECT_EQ(run.r().FlagsC & 0x20, 0x20) << "direct mode";
    EXPECT_EQ(run.prompts.messages, (std::vector<int32_t>{8495})) << "no curve questions";
  }
}

TEST(Assistant, InputsOutOfRangeAreAskedAgain) {
  // Cylinders 13, then 4; limiter 13000 and -1 refused, 0 taken; charge time
  // 6 ms (60) refused, then 0,7 ms taken as 7.
  Series run({true, false, false, false, false, false},
             {"13", "4", "13000", "-1", "0", "6", "0,7"});
  run.go();
  EXPECT_EQ(run.prompts.textPrompts,
            (std::vector<int32_t>{8430, 8430, 8432, 8432, 8432, 8435, 8435, 8449}));
  EXPECT_EQ(std::count(run.prompts.messages.begin(), run.prompts.messages.end(), 8045), 4);
  EXPECT_EQ(run.state.limiterEdit, 0);
  EXPECT_EQ(run.r().Ladezeit, 7);
}

TEST(Assistant, OffsetAboveTheFiringIntervalIsMarkedNotAskedAgain) {
  // Not converted: the offset is asked; 4-stroke 4 cylinders allow 180.
  for (const auto& [typed, stored] : {std::pair{"180", 180}, std::pair{"181", 255}}) {
    Series run({true, false, false, false, false, false, false}, {"4", kDefault, kDefault, typed});
    run.go();
    EXPECT_EQ(run.r().Versatz, stored) << typed;
    EXPECT_EQ(run.r().Flags & 0x40, 0x40);
    EXPECT_EQ(std::count(run.prompts.textPrompts.begin(), run.prompts.textPrompts.end(), 8449), 1);
  }
}

TEST(Assistant, ProductLine2SkipsChargeTimePotiAndChannels) {
  Series run({true, false, false, false, false, true, false, false, false},
             {"4", kDefault, kDefault});
  run.state.record.HwTyp = 0x0B00;  // type 11
  run.state.record.capability.productLine2 = true;
  run.go();
  EXPECT_EQ(run.prompts.textPrompts, (std::vector<int32_t>{8430, 8432, 8449}));
  EXPECT_EQ(std::count(run.prompts.questions.begin(), run.prompts.questions.end(), 8471), 0);
  EXPECT_EQ(std::count(run.prompts.questions.begin(), run.prompts.questions.end(), 8483), 0);
}

TEST(Assistant, StartQuestionAndTheReadBeforeIt) {
  {  // "no" leaves the record untouched
    Bench b;
    b.state.recordValid = true;
    b.state.record.Flags = 0x55;
    const ignition::AssistantResult r = ignition::runAssistant(b.state, b.link, b.prompts);
    EXPECT_FALSE(r.ran);
    EXPECT_EQ(b.state.record.Flags, 0x55);
    EXPECT_EQ(b.bus.framesReceived(), 0);
  }
  {  // no record yet: the module is read first, then the flags start empty
    Bench b;
    b.prompts.yesNoAnswers = {true};
    const ignition::AssistantResult r = ignition::runAssistant(b.state, b.link, b.prompts);
    EXPECT_TRUE(r.ran);
    EXPECT_GT(b.bus.framesReceived(), 0);
    EXPECT_FALSE(b.wrote());
    EXPECT_EQ(b.prompts.waitOpened, b.prompts.waitClosed);
    EXPECT_EQ(b.prompts.messages.back(), 8495);
  }
  {  // a read that fails shows its text and the assistant does not run
    sim::Scenario s;
    s.hasIgnition = false;
    Bench b(s);
    b.prompts.yesNoAnswers = {true};
    const ignition::AssistantResult r = ignition::runAssistant(b.state, b.link, b.prompts);
    EXPECT_FALSE(r.ran);
    ASSERT_FALSE(b.prompts.messages.empty());
    EXPECT_NE(b.prompts.messages.back(), 8495);
    EXPECT_TRUE(b.prompts.textPrompts.empty());
  }
}

}  // namespace
