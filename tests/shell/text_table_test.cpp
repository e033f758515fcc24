#include "texts/text_table.h"

#include <gtest/gtest.h>

#include "texts/text_ids.h"

namespace {

TEST(TextTable, SortedWithoutDuplicates) {
  for (const texts::TextEntry* e = texts::textTableBegin(); e + 1 < texts::textTableEnd(); ++e) {
    EXPECT_LT(e->id, (e + 1)->id) << "after " << e->id;
  }
}

TEST(TextTable, EveryPageHasACaption) {
  for (int32_t id = texts::kTextPageIgnition; id <= texts::kTextPageInfo; ++id) {
    EXPECT_FALSE(texts::text(id).empty()) << id;
  }
  EXPECT_EQ(texts::text(texts::kTextWindowTitle), "Tunvexa");
  EXPECT_EQ(texts::text(texts::kTextPageIgnition), "Zündung");
  EXPECT_EQ(texts::text(texts::kTextPageOilDisplay), "Öl-Anzeige");
}

TEST(TextTable, MissingIdGivesEmptyText) {
  EXPECT_TRUE(texts::text(0).empty());
  EXPECT_TRUE(texts::text(-1).empty());
  EXPECT_TRUE(texts::text(1000000).empty());
}

}  // namespace
