#include "shell/version_text.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t word(uint32_t major, uint32_t minor, uint32_t patch) {
  return (patch << 12) | (major << 8) | minor;
}

TEST(VersionText, PatchOnlyWhenSet) {
  EXPECT_EQ(shell::versionText(0x0301), "V 3.1");
  EXPECT_EQ(shell::versionText(word(3, 5, 2)), "V 3.5.2");
  EXPECT_EQ(shell::versionText(word(15, 255, 15)), "V 15.255.15");
  EXPECT_EQ(shell::versionText(0x0000), "V 0.0");
}

struct OlderCase {
  uint32_t reference, version;
  int32_t older;
};

class IsVersionOlder : public ::testing::TestWithParam<OlderCase> {};

TEST_P(IsVersionOlder, MajorMinorFirstThenPatch) {
  EXPECT_EQ(shell::isVersionOlder(GetParam().reference, GetParam().version), GetParam().older);
}

INSTANTIATE_TEST_SUITE_P(Table, IsVersionOlder,
                         ::testing::Values(OlderCase{word(5, 6, 0), word(5, 5, 1), 1},
                                           OlderCase{word(5, 6, 0), word(5, 6, 0), 0},
                                           OlderCase{word(5, 6, 0), word(5, 6, 1), 0},
                                           OlderCase{word(5, 6, 2), word(5, 6, 1), 1},
                                           // Minor 255 stays below the next major.
                                           OlderCase{word(6, 0, 0), word(5, 255, 0), 1},
                                           OlderCase{word(5, 6, 0), word(6, 0, 0), 0},
                                           // A high patch does not lift an older release.
                                           OlderCase{word(5, 6, 0), word(5, 5, 15), 1},
                                           // Only the 16 bits of the word count.
                                           OlderCase{word(5, 6, 0), 0x10000u | word(5, 5, 0), 1}));

}  // namespace
