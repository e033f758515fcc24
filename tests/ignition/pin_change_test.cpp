// Changing the module's PIN and "Zünden sperren" (dialog 160's operations)
// against the in-process simulator.
#include "modules/ignition/pin_change.h"

#include <gtest/gtest.h>

#include "ignition_io_support.h"

namespace {

using ignition::test::Bench;
using ignition::test::firmware;

constexpr int kSpecialFunction = 14;

std::vector<std::pair<int, int>> specials(const Bench& b) {
  std::vector<std::pair<int, int>> out;
  for (const sim::TranscriptEntry& e : b.frames(kSpecialFunction)) out.push_back({e.pc[1], e.pc[2]});
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
