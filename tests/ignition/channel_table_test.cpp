// The channel grid of dialog 162 from and into `KanalTabelle`.
#include "modules/ignition/channel_table.h"

#include <gtest/gtest.h>

namespace {

TEST(ChannelTable, GridFollowsCylindersAndChannels) {
  struct Case {
    int cylinders;
    int channels;
  };
  for (const Case c : {Case{4, 4}, Case{2, 8}, Case{8, 2}}) {
    SCOPED_TRACE(testing::Message() << c.cylinders << " cylinders, " << c.channels << " channels");
    ignition::IgnitionRecord r;
    r.Zylinder = static_cast<uint8_t>(c.cylinders);
    r.capability.channels = c.channels;
    const ignition::ChannelGrid g = ignition::channelGrid(r);
    for (int ch = 0; ch < 8; ++ch) {
      for (int p = 0; p < 8; ++p) {
        const bool enabled = p < c.cylinders && ch < c.channels;
        EXPECT_EQ(g.enabled[ch][p], enabled) << ch << " " << p;
        // The default table is the diagonal.
        EXPECT_EQ(g.checked[ch][p], enabled && ch == p) << ch << " " << p;
      }
    }
  }
}

TEST(ChannelTable, OkWritesEachColumnAndDropsDisabledBoxes) {
  ignition::IgnitionRecord r;
  r.Zylinder = 4;
  r.capability.channels = 2;
  r.KanalTabelle = {0x03, 0x02, 0x81, 0x02, 0x10, 0x20, 0x40, 0x80};
  ignition::ChannelGrid g = ignition::channelGrid(r);
  g.checked[1][2] = true;  // channel 2 at position 3
  ignition::takeChannelGrid(r, g);
  EXPECT_EQ(r.KanalTabelle, (std::array<uint8_t, 8>{0x03, 0x02, 0x03, 0x02, 0, 0, 0, 0}));
}

}  // namespace
