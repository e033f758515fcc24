// The module PIN during reads and writes.
#include <gtest/gtest.h>

#include "ignition_io_support.h"
#include "modules/ignition/pin_check.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace ignition {
namespace {

using test::Bench;

sim::Scenario protectedModule() {
  sim::Scenario s;
  s.ignition.pin = 0x1A2B;
  return s;
}

TEST(PinCheck, WithoutThePinTheReadLeavesOutTheCurves) {
  Bench b(protectedModule());
  EXPECT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_EQ(b.prompts.textPrompts, std::vector<int32_t>{texts::kTextEnterPin});
  EXPECT_EQ(b.prompts.messages,
            (std::vector<int32_t>{texts::kTextWriteLocked, texts::kTextReadOk}));
  EXPECT_EQ(b.state.curve1.size(), 0);
  EXPECT_EQ(b.state.curve2.size(), 0);
  EXPECT_EQ(b.state.record.pinLockedRead, 1);
  EXPECT_TRUE(b.state.recordValid);
  EXPECT_EQ(b.state.record.KwZaehne, 60) << "the rest of the record is read";

  const auto memory = b.module().memory;
  EXPECT_EQ(b.write(), texts::kTextWriteLocked);
  EXPECT_FALSE(b.wrote());
  // Even with the right PIN now, the empty lists must not replace the
  // module's curves.
  b.prompts.textAnswers = {"1A2B"};
  EXPECT_EQ(b.write(), texts::kTextWriteLocked);
  EXPECT_EQ(b.module().memory, memory);
}

TEST(PinCheck, TheRightPinOpensTheModuleAndIsRemembered) {
  Bench b(protectedModule());
  b.prompts.textAnswers = {"1a2b"};
  EXPECT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{texts::kTextReadOk});
  EXPECT_EQ(b.state.record.pinLockedRead, 0);
  EXPECT_EQ(b.state.record.pin, 0x1A2B);
  EXPECT_EQ(b.state.curve1.size(), 2);
  // The write's restart makes the module forget the PIN was given; the
  // next operation hands over the remembered one without asking.
  EXPECT_EQ(b.write(), texts::kTextWriteOk);
  EXPECT_FALSE(b.module().pinGiven);
  EXPECT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_EQ(b.prompts.textPrompts.size(), 1u);
  EXPECT_EQ(b.state.curve1.size(), 2);
}

TEST(PinCheck, Refusals) {
  struct Case {
    const char* name;
    std::optional<std::string> typed;
    uint8_t wrongTries;  // module counter before
    std::vector<int32_t> messages;
    uint8_t wrongTriesAfter;
    bool asked;
  };
  const Case cases[] = {
      {"cancelled", std::nullopt, 0, {texts::kTextWriteLocked, texts::kTextReadOk}, 0, true},
      {"empty", "", 0, {texts::kTextWriteLocked, texts::kTextReadOk}, 0, true},
      {"not hexadecimal", "zz", 0, {texts::kTextWriteLocked, texts::kTextReadOk}, 0, true},
      {"wrong, tried once only",
       "1A2C",
       2,
       {texts::kTextWrongPin, texts::kTextWriteLocked, texts::kTextReadOk},
       3,
       true},
      {"entry blocked", "1A2B", 5, {texts::kTextWriteLocked, texts::kTextReadOk}, 5, false},
  };
  for (const Case& c : cases) {
    sim::Scenario s = protectedModule();
    s.ignition.memory[0xF5] = c.wrongTries;
    Bench b(s);
    b.prompts.textAnswers = {c.typed};
    EXPECT_EQ(b.read(), texts::kTextReadOk) << c.name;
    EXPECT_EQ(b.prompts.messages, c.messages) << c.name;
    EXPECT_EQ(b.module().memory[0xF5], c.wrongTriesAfter) << c.name;
    EXPECT_EQ(b.prompts.textPrompts.empty(), !c.asked) << c.name;
    EXPECT_EQ(b.state.curve1.size(), 0) << c.name;
  }
}

TEST(PinCheck, NoQuestionWhenNotNeeded) {
  struct Case {
    const char* name;
    uint16_t firmware;
    uint16_t pin;
    bool given;
  };
  const Case cases[] = {{"no PIN set", 0x0803, 0, false},
                        {"PIN given already", 0x0803, 0x1A2B, true},
                        {"firmware without PIN handling", 0x0503, 0x1A2B, false}};
  for (const Case& c : cases) {
    sim::Scenario s;
    s.ignition.firmwareVersion = c.firmware;
    s.ignition.pin = c.pin;
    s.ignition.pinGiven = c.given;
    Bench b(s);
    EXPECT_EQ(b.read(), texts::kTextReadOk) << c.name;
    EXPECT_TRUE(b.prompts.textPrompts.empty()) << c.name;
    EXPECT_EQ(b.state.curve1.size(), 2) << c.name;
  }
}

TEST(PinCheck, WritingWithoutThePinStops) {
  Bench b(protectedModule());
  b.prompts.textAnswers = {"1A2B"};
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  b.module().pinGiven = false;
  b.state.record.pin = 0;  // another run of the program
  EXPECT_EQ(b.write(), texts::kTextWriteLocked);
  EXPECT_FALSE(b.wrote());
  // The record itself is whole: the next write may ask again.
  b.prompts.textAnswers = {"1A2B"};
  EXPECT_EQ(b.write(), texts::kTextWriteOk);
}

TEST(PinCheck, LinkFailureIsNoSignOfAnOpenModule) {
  Bench probe(protectedModule());
  probe.prompts.textAnswers = {"1A2B"};
  ASSERT_EQ(probe.read(), texts::kTextReadOk);
  const int status = probe.frameNumber(0xEE, 0x40, 0);
  ASSERT_GT(status, 0);

  sim::Scenario s = protectedModule();
  s.faults.dropReply.push_back({status, 2});
  Bench b(s);
  EXPECT_EQ(b.read(), texts::kTextTooFewBytes);
  EXPECT_FALSE(b.state.recordValid);
  EXPECT_EQ(b.bus.framesReceived(), status) << "nothing is read after the failed status request";
  EXPECT_TRUE(b.prompts.textPrompts.empty());
}

TEST(PinCheck, ParsePinText) {
  EXPECT_EQ(parsePinText("1A2B"), 0x1A2B);
  EXPECT_EQ(parsePinText("ff"), 0xFF);
  EXPECT_EQ(parsePinText(""), 0);
  EXPECT_EQ(parsePinText("x1"), 0);
  EXPECT_EQ(parsePinText("12g"), 0x12);
}

}  // namespace
}  // namespace ignition
