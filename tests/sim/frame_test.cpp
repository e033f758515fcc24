#include "sim/frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace sim {
namespace {

TEST(SimFrame, CheckByteMakesEveryFrameXorToZ) {
  const Frame f = makeFrame(0xE2, 0x05, 0x00);
  EXPECT_EQ(f[3], 0x5A ^ 0xE2 ^ 0x05);
  EXPECT_TRUE(isValidFrame(f));
  Frame bad = f;
  bad[2] ^= 0x10;
  EXPECT_FALSE(isValidFrame(bad));
}

TEST(SimFrame, ErrorReplyCarriesClassInByteOne) {
  EXPECT_EQ(errorFrame(0xE0, kErrorEngineRunning), makeFrame(0xEF, 3, 0));
  EXPECT_EQ(replyFrame(0x40, makeFrame(0x46, 2, 0), 0x12, 0x34), makeFrame(0x46, 0x12, 0x34));
}

TEST(SimFrameAssembler, FallsBackIntoStepAfterExtraBytes) {
  const Frame good = makeFrame(0xE1, 0, 0);
  struct Case {
    const char* name;
    std::vector<uint8_t> prefix;
  };
  const Case cases[] = {
      {"none", {}},
      {"one stray byte", {0x33}},
      {"three stray bytes", {0x33, 0x44, 0x55}},
      {"half a frame", {0xE2, 0x08}},
  };
  for (const Case& c : cases) {
    FrameAssembler a;
    std::vector<Frame> frames;
    int discarded = 0;
    std::vector<uint8_t> bytes = c.prefix;
    bytes.insert(bytes.end(), good.begin(), good.end());
    for (uint8_t b : bytes) {
      FrameAssembler::Result r = a.push(b);
      if (r.frame) frames.push_back(*r.frame);
      if (r.discarded) ++discarded;
    }
    ASSERT_EQ(frames.size(), 1u) << c.name;
    EXPECT_EQ(frames[0], good) << c.name;
    EXPECT_EQ(discarded, static_cast<int>(c.prefix.size())) << c.name;
    EXPECT_EQ(a.pending(), 0u) << c.name;
  }
}

}  // namespace
}  // namespace sim
