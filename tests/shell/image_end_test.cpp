#include "shell/image_end.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

struct ImageCase {
  const char* name;
  int blocks;      // image size in 512-byte blocks
  int used;        // leading blocks in use
  int extraBytes;  // a cut last block
  uint32_t end;
};

class FindImageEnd : public ::testing::TestWithParam<ImageCase> {};

TEST_P(FindImageEnd, FindsTheLastUsedBlock) {
  const ImageCase& c = GetParam();
  std::vector<unsigned char> image(c.blocks * 512 + c.extraBytes, 0xFF);
  // A block counts as used when any of its first 7 bytes is not erased.
  for (int b = 0; b < c.used; ++b) image[b * 512 + (b % 7)] = 0x00;
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fwrite(image.data(), 1, image.size(), file);
  EXPECT_EQ(shell::findImageEnd(file), c.end);
  if (c.end != 0) {
    EXPECT_EQ(std::ftell(file), 0);
  }
  std::fclose(file);
}

INSTANTIATE_TEST_SUITE_P(
    Images, FindImageEnd,
    ::testing::Values(ImageCase{"ThreeOf64", 64, 3, 0, 1536}, ImageCase{"Erased", 64, 0, 0, 0},
                      ImageCase{"Full", 64, 64, 0, 32768}, ImageCase{"OneOf1024", 1024, 1, 0, 512},
                      ImageCase{"HalfOf1024", 1024, 512, 0, 262144}, ImageCase{"Empty", 0, 0, 0, 0},
                      ImageCase{"ShorterThanABlock", 0, 0, 300, 0},
                      // A cut last block cannot be read whole, so it does not count.
                      ImageCase{"CutLastBlock", 8, 8, 100, 4096},
                      // Sizes that are not a power of two, where the halving alone
                      // stops short of the end or misses a lone first block.
                      ImageCase{"OneOf14", 14, 1, 0, 512}, ImageCase{"TwoOf30", 30, 2, 0, 1024},
                      ImageCase{"FullOf15", 15, 15, 0, 7680},
                      ImageCase{"SeventyOf100", 100, 70, 0, 35840}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FindImageEndBlocks, OnlyTheFirstSevenBytesDecide) {
  std::vector<unsigned char> image(4 * 512, 0xFF);
  image[7] = 0x00;  // block 0: the eighth byte written, the first seven erased
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fwrite(image.data(), 1, image.size(), file);
  EXPECT_EQ(shell::findImageEnd(file), 0u);
  std::fclose(file);
}

}  // namespace
