#include "viewers/trigger/module_values.h"

#include <gtest/gtest.h>

namespace {

TEST(ModuleValues, VersionAndSerialTexts) {
  EXPECT_EQ(trigger::versionFromAnswer(0x21, 0x05), "V 1.5.2");
  EXPECT_EQ(trigger::versionFromAnswer(0x03, 0x0A), "V 3.10.0");
  EXPECT_EQ(trigger::hexFirst(0x0A), "A");
  EXPECT_EQ(trigger::hexFirst(0x00), "0");
  EXPECT_EQ(trigger::hexFirst(0x1F), "1F");
  EXPECT_EQ(trigger::hexTwoDigits(0x0A), "0A");
}

TEST(ModuleValues, TypeNumberOutsideTheTableStoresZero) {
  trigger::ModuleValues v;
  v.setModTypNr(24);
  EXPECT_EQ(v.ModTypNr, 24);
  EXPECT_FALSE(v.ModTyp.empty());
  v.setModTypNr(30);
  EXPECT_EQ(v.ModTypNr, 30);
  EXPECT_TRUE(v.ModTyp.empty());
  for (int bad : {-1, 256, 1000}) {
    v.setModTypNr(bad);
    EXPECT_EQ(v.ModTypNr, 0);
    EXPECT_TRUE(v.ModTyp.empty());
  }
}

}  // namespace
