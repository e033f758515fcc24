#include "viewers/trigger/raw_import.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using trigger::kRingSize;
using trigger::Recording;

std::vector<uint8_t> slots(const std::vector<uint8_t>& channel, size_t from, size_t n) {
  return {channel.begin() + static_cast<long>(from), channel.begin() + static_cast<long>(from + n)};
}

std::string frames(size_t bytes) {
  std::string s;
  for (size_t i = 0; i < bytes; ++i)
    s += static_cast<char>(i % 4 == 1 ? 0xA5 : i % 4 == 2 ? 0x0F : 0xEE);
  return s;
}

TEST(RawFrameImport, CountsOnlyWholeFrames) {
  struct Case {
    size_t bytes;
    int32_t count;
  };
  for (const Case& c : {Case{0, 0}, Case{3, 0}, Case{12, 24}, Case{13, 24}, Case{30000, kRingSize},
                        Case{30001, kRingSize}, Case{40000, kRingSize}}) {
    SCOPED_TRACE(c.bytes);
    Recording rec;
    rec.channelA.assign(kRingSize, 1);
    trigger::importRawFrames(frames(c.bytes), rec);
    EXPECT_EQ(rec.DataCount, c.count);
    EXPECT_EQ(rec.DataWrIdx, 1);
    // Slots beyond the import are cleared.
    if (c.count < kRingSize) {
      EXPECT_EQ(rec.channelA[static_cast<size_t>(c.count)], 0);
    }
  }
}

TEST(RawFrameImport, BitsGoOldestFirst) {
  Recording rec;
  trigger::importRawFrames(std::string("\xEE\xA5\x0F\x00", 4), rec);
  EXPECT_EQ(slots(rec.channelA, 0, 8), (std::vector<uint8_t>{1, 0, 1, 0, 0, 1, 0, 1}));
  EXPECT_EQ(slots(rec.channelB, 0, 8), (std::vector<uint8_t>{0, 0, 0, 0, 1, 1, 1, 1}));
}

const std::string kHead = "Mitschnitt\r\nT\tee 20 35 a1\r\n  R\tee 20 35 a1 \r\nR\tee 20 00 94\r\n";

TEST(RawTextImport, FifthLineFillsSlotsOneToEight) {
  for (const std::string& end : {std::string(), std::string("\r\n")}) {
    Recording rec;
    rec.channelA[0] = 1;
    ASSERT_TRUE(trigger::importRawText(kHead + "R\tee a5 0f 1e" + end, rec));
    EXPECT_EQ(rec.channelA[0], 0);
    EXPECT_EQ(slots(rec.channelA, 1, 8), (std::vector<uint8_t>{1, 0, 1, 0, 0, 1, 0, 1}));
    EXPECT_EQ(slots(rec.channelB, 1, 8), (std::vector<uint8_t>{0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(rec.DataCount, 9);
    EXPECT_EQ(rec.DataWrIdx, 1);
  }
}

TEST(RawTextImport, UnreadableDigitsGiveZeroAndTheRingEnds) {
  Recording rec;
  std::string text = kHead + "R\tee zz\r\nR\r\n";
  for (int i = 0; i < 8000; ++i) text += "R\tee ff ff 5a\r\n";
  ASSERT_TRUE(trigger::importRawText(text, rec));
  EXPECT_EQ(slots(rec.channelA, 1, 16), std::vector<uint8_t>(16, 0));
  EXPECT_EQ(rec.channelA[17], 1);
  EXPECT_EQ(rec.DataCount, kRingSize);
  EXPECT_EQ(rec.channelB[trigger::kLastSlot], 1);
}

TEST(RawTextImport, OtherHeaderLinesImportNothing) {
  const std::string texts[] = {
      "",
      "x\r\nT\tee 20 35 a1\r\n",
      "x\r\nT ee 20 35 a1\r\nR\tee 20 35 a1\r\nR\tee 20 00 94\r\nR\tee a5 0f 1e",
      "x\nT\tee 20 35 a1\nR\tee 20 35 a1\nR\tee 20 00 94\nR\tee a5 0f 1e",
  };
  for (const std::string& t : texts) {
    Recording rec;
    rec.channelA[3] = 1;
    rec.DataCount = 4;
    EXPECT_FALSE(trigger::importRawText(t, rec));
    EXPECT_EQ(rec.channelA[3], 1);
    EXPECT_EQ(rec.DataCount, 4);
  }
}

}  // namespace
