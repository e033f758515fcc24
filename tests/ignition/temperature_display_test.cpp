// The module temperature on the page after a read.
#include <gtest/gtest.h>

#include "ignition_io_support.h"
#include "texts/ignition_text_ids.h"

namespace ignition {
namespace {

using test::Bench;

TEST(TemperatureDisplay, ReadingBelowTheSensorRangeShowsNoNumber) {
  struct Case {
    uint8_t raw;
    const char* shown;
  };
  const Case cases[] = {{0, "Max:"}, {27, "Max:"}, {28, "Max: -161"}, {100, "Max:  32"}};
  for (const Case& c : cases) {
    sim::Scenario s;
    s.ignition.memory[0x03] = c.raw;
    Bench b(s);
    ASSERT_EQ(b.read(), texts::kTextReadOk) << int(c.raw);
    EXPECT_EQ(b.state.maxTemperatureText, c.shown) << int(c.raw);
    EXPECT_EQ(b.state.record.maxTempRelative, c.raw) << "the record keeps the raw value";
  }
}

TEST(TemperatureDisplay, ReadAfterAWriteShowsNoNumber) {
  Bench b;
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  ASSERT_EQ(b.state.maxTemperatureText, "Max:  32");
  ASSERT_EQ(b.write(), texts::kTextWriteOk);
  // The module restarts its relative maximum at raw 0 with every write.
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_EQ(b.state.maxTemperatureText, "Max:");
}

}  // namespace
}  // namespace ignition
