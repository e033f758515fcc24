#include "shell/page_registry.h"

#include <gtest/gtest.h>

#include <set>

#include "texts/text_table.h"

namespace {

using shell::dialogKeyOwner;
using shell::kOwnerTabHost;

TEST(PageRegistry, NineteenPagesWithCaptionsTemplatesAndBits) {
  const auto& pages = shell::pageRegistry();
  std::set<int32_t> bits;
  for (size_t i = 0; i < pages.size(); ++i) {
    const shell::PageInfo& p = pages[i];
    EXPECT_EQ(p.id, 201 + static_cast<int32_t>(i));
    EXPECT_EQ(p.captionTextId, p.id);
    EXPECT_FALSE(texts::text(p.captionTextId).empty()) << p.id;
    if (p.id < shell::kPageExtras) {
      EXPECT_EQ(p.maskBit, static_cast<int32_t>(i));
    } else {
      EXPECT_EQ(p.maskBit, shell::kAlwaysShown);
    }
    EXPECT_EQ(shell::findPage(p.id), &p);
  }
  EXPECT_EQ(shell::findPage(200), nullptr);
  EXPECT_EQ(shell::findPage(220), nullptr);
  EXPECT_EQ(shell::findPage(201)->dialogTemplate, 3000);
  EXPECT_EQ(shell::findPage(216)->dialogTemplate, 179);
  EXPECT_EQ(shell::findPage(217)->dialogTemplate, 7218);
  EXPECT_EQ(shell::findPage(218)->dialogTemplate, 132);
  EXPECT_EQ(shell::findPage(219)->dialogTemplate, 175);
}

TEST(PageRegistry, PagesForMask) {
  EXPECT_EQ(shell::pagesForMask(1), (std::vector<int32_t>{201, 218, 219}));
  EXPECT_EQ(shell::pagesForMask(0), (std::vector<int32_t>{218, 219}));
  EXPECT_EQ(shell::pagesForMask(0x10002), (std::vector<int32_t>{202, 217, 218, 219}));
  EXPECT_EQ(shell::pagesForMask(131071).size(), 19u);
  // Bits 17 and up (and a negative mask's sign) name no page.
  EXPECT_EQ(shell::pagesForMask(-1).size(), 19u);
  EXPECT_EQ(shell::pagesForMask(static_cast<int32_t>(0xFFFE0000u)),
            (std::vector<int32_t>{218, 219}));
}

TEST(PageRegistry, MaskBitsKeepEverythingElse) {
  // bit 17 and bit 9 survive when bits 0-8 are written
  EXPECT_EQ(shell::replaceMaskBits(0x20201, 0, 9, 0x002), 0x20202);
  // bits 9-16 replaced, bit 0 and bit 17 kept
  EXPECT_EQ(shell::replaceMaskBits(0x3FE01, 9, 8, 0x01), 0x20201);
  // bits beyond the field in the new value are ignored
  EXPECT_EQ(shell::replaceMaskBits(0, 0, 9, 0xFFFF), 0x1FF);
  EXPECT_EQ(shell::replaceMaskBits(-1, 0, 9, 0), static_cast<int32_t>(0xFFFFFE00u));
  EXPECT_EQ(shell::maskBits(0x3FE01, 9, 8), 0xFFu);
  EXPECT_EQ(shell::maskBits(0x3FE01, 0, 9), 0x001u);
}

TEST(PageRegistry, DialogKeyOwners) {
  struct Row {
    int32_t key;
    int32_t owner;
  };
  const Row rows[] = {
      {133, 203},
      {135, 204},
      {136, 204},
      {1300, 204},
      {137, 205},
      {150, 201},
      {154, 201},
      {155, 0},
      {156, 201},
      {165, 201},
      {185, 201},
      {186, 201},
      {189, 201},
      {501, 201},
      {3100, 201},
      {3370, 201},
      {171, 214},
      {177, 215},
      {6050, 215},
      {6080, 215},
      {180, 216},
      {183, 216},
      {2050, 213},
      {6505, 207},
      {6507, 207},
      {6650, 207},
      {6770, 207},
      {6880, 207},
      {6900, 207},
      {7217, 217},
      {7219, 217},
      {7218, 0},
      {0, 0},
      {134, 0},
      {188, 0},
      {178, kOwnerTabHost},
      {184, kOwnerTabHost},
      {187, kOwnerTabHost},
      {500, kOwnerTabHost},
      {502, kOwnerTabHost},
      {7900, kOwnerTabHost},
  };
  for (const Row& r : rows) EXPECT_EQ(dialogKeyOwner(r.key), r.owner) << r.key;
}

TEST(PageRegistry, InitialiseOrder) {
  const auto order = shell::initialiseOrder();
  EXPECT_EQ(std::vector<int32_t>(order.begin(), order.end()),
            (std::vector<int32_t>{203, 204, 205, 213, 212, 208, 210, 211, 206, 214, 215, 207, 209,
                                  216, 217}));
}

}  // namespace
