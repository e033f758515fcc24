// Changing the module's PIN and "Zünden sperren" (dialog 160's operations)
// against the in-process simulator.
#include "modules/ignition/pin_change.h"

#include <gtest/gtest.h>

#include "ignition_io_support.h"
#include "modules/ignition/pin_check.h"

namespace {

using ignition::test::Bench;
using ignition::test::firmware;

constexpr int kSpecialFunction = 14;

std::vector<std::pair<int, int>> specials(const Bench& b) {
  std::vector<std::pair<int, int>> out;
  for (const sim::TranscriptEntry& e : b.frames(kSpecialFunction))
    out.push_back({e.pc[1], e.pc[2]});
  return out;
}

TEST(PinChange, OpensOnlyForFirmwareThatHasAPinAndReadsTheLock) {
  {
    Bench b(firmware(0x0503));
    EXPECT_EQ(ignition::startPinChange(b.state, b.link, b.prompts), 8055);
    EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8055});
  }
  {
    Bench b(firmware(0x0803));
    b.module().memory[0x87] = 0x10;
    EXPECT_EQ(ignition::startPinChange(b.state, b.link, b.prompts), 0);
    EXPECT_EQ(b.state.record.FlagsB, 0x10);
    EXPECT_TRUE(b.prompts.messages.empty());
  }
}

TEST(PinChange, NewPinHighByteFirstThenTheLock) {
  Bench b(firmware(0x0803));
  b.module().memory[0x87] = 0x21;
  ASSERT_EQ(ignition::startPinChange(b.state, b.link, b.prompts), 0);
  ASSERT_EQ(ignition::applyPinChange(b.state, b.link, b.prompts, "1a2b", true), 0);
  const auto sent = specials(b);
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent[sent.size() - 2], (std::pair<int, int>{0x43, 0x1A}));
  EXPECT_EQ(sent.back(), (std::pair<int, int>{0x44, 0x2B}));
  EXPECT_EQ(b.module().pin, 0x1A2B);
  EXPECT_EQ(b.module().memory[0x87], 0x31) << "bit 4 set, the others kept";
  EXPECT_EQ(b.state.record.FlagsB, 0x31);
  EXPECT_EQ(b.state.record.pin, 0x1A2B);
  EXPECT_EQ(b.link.openPort(), 0) << "the link was closed";
}

TEST(PinChange, EmptyNewPinChangesOnlyTheLock) {
  Bench b(firmware(0x0803));
  b.module().memory[0x87] = 0x31;
  ASSERT_EQ(ignition::applyPinChange(b.state, b.link, b.prompts, "", false), 0);
  for (const auto& [code, value] : specials(b)) EXPECT_TRUE(code != 0x43 && code != 0x44);
  EXPECT_EQ(b.module().memory[0x87], 0x21);
}

TEST(PinChange, WrongPresentPinChangesNothing) {
  sim::Scenario s = firmware(0x0803);
  s.ignition.pin = 0x1A2B;
  s.ignition.memory[0x87] = 0x00;
  Bench b(s);
  b.prompts.textAnswers = {std::string("9999")};
  EXPECT_EQ(ignition::applyPinChange(b.state, b.link, b.prompts, "4444", true), 8049);
  EXPECT_EQ(b.module().pin, 0x1A2B);
  EXPECT_EQ(b.module().memory[0x87], 0x00);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8047});
}

}  // namespace

namespace {

TEST(PinEntry, WrongPinTellsTheTriesLeftUntilTheModuleBlocks) {
  struct Case {
    uint8_t counterBefore;
    int32_t status;
    int triesLeft;
    std::vector<int32_t> messages;
  };
  const Case cases[] = {
      {1, ignition::kPinTryAgain, 3, {8047}},  // the counter at 2 after the try
      {4, 8049, 0, {8047, 8049}},              // the fifth wrong PIN blocks
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.counterBefore));
    sim::Scenario s = firmware(0x0803);
    s.ignition.pin = 0x1A2B;
    s.ignition.memory[0xF5] = c.counterBefore;
    Bench b(s);
    b.link.selectModule(0xE0);
    const ignition::PinTry t = ignition::enterPinOnce(b.state.record, b.link, b.prompts, "9999");
    EXPECT_EQ(t.status, c.status);
    EXPECT_EQ(t.triesLeft, c.triesLeft);
    EXPECT_EQ(b.prompts.messages, c.messages);
  }
}

TEST(PinEntry, RightPinIsKeptAndEmptyEndsTheEntry) {
  sim::Scenario s = firmware(0x0803);
  s.ignition.pin = 0x1A2B;
  Bench b(s);
  b.link.selectModule(0xE0);
  EXPECT_EQ(ignition::enterPinOnce(b.state.record, b.link, b.prompts, "").status, 8049);
  b.link.selectModule(0xE0);
  EXPECT_EQ(ignition::enterPinOnce(b.state.record, b.link, b.prompts, "1a2b").status, 0);
  EXPECT_EQ(b.state.record.pin, 0x1A2B);
  EXPECT_TRUE(b.module().pinGiven);
}

// The PIN check hands the asking to the entry it is given.
TEST(PinEntry, PinCheckAsksTheGivenEntry) {
  struct ScriptedEntry : ignition::PinEntry {
    int asked = 0;
    int32_t enterPin(ignition::IgnitionRecord& r, buslink::ModuleLink& link,
                     shell::UserPrompts& prompts) override {
      ++asked;
      return ignition::enterPinOnce(r, link, prompts, "1A2B").status;
    }
  } entry;
  sim::Scenario s = firmware(0x0803);
  s.ignition.pin = 0x1A2B;
  Bench b(s);
  EXPECT_EQ(ignition::pinCheck(b.state.record, b.link, b.prompts, &entry), 0);
  EXPECT_EQ(entry.asked, 1);
  EXPECT_TRUE(b.prompts.textPrompts.empty()) << "no plain prompt beside the dialog";
}

}  // namespace
