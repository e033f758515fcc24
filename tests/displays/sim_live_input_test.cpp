#include <gtest/gtest.h>

#include "modules/displays/gear_display.h"
#include "sim/display_live_input.h"
#include "tests/displays/display_bench.h"

namespace displays {
namespace {

// What a user types into the running simulator reaches the next tick of a
// teach-in.
TEST(SimLiveInput, TypedSensorValuesReachTheTeachIn) {
  test::Bench b;
  GearDisplaySettings s;
  GearTeachIn teach(b.link, b.prompts, s);
  ASSERT_EQ(teach.start(), 0);
  EXPECT_EQ(sim::applyLiveInput(b.bus, "live 0xA0 0 77"), "");
  EXPECT_EQ(teach.tick(), 77);
  EXPECT_EQ(sim::applyLiveInput(b.bus, "period 0xB0 1250"), "");
  EXPECT_EQ(b.module(0xB0).period, 1250);
  for (const char* bad : {"live 0xA0 0", "live 0x30 0 1", "period 0xB0 70000", "speed 1"}) {
    EXPECT_NE(sim::applyLiveInput(b.bus, bad), "") << bad;
  }
  EXPECT_EQ(sim::applyLiveInput(b.bus, "   "), "");
  teach.finish();
}

}  // namespace
}  // namespace displays
