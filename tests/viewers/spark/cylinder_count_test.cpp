#include "viewers/spark/cylinder_count.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Case {
  const char* stored;
  std::optional<std::string> commandLine;
  double cylinders;
};

class StartCylinders : public ::testing::TestWithParam<Case> {};

TEST_P(StartCylinders, CommandLineOverStoredWithinTwoToEight) {
  const Case& c = GetParam();
  EXPECT_DOUBLE_EQ(spark::startCylinderCount(c.stored, c.commandLine), c.cylinders);
}

INSTANTIATE_TEST_SUITE_P(Cases, StartCylinders,
                         ::testing::Values(Case{"", std::nullopt, 4},  // nothing stored
                                           Case{"6", std::nullopt, 6}, Case{"6", "12", 8},
                                           Case{"6", "1", 4}, Case{"", "3", 3},
                                           Case{"2", std::nullopt, 2}, Case{"8", "", 4},
                                           Case{"Zylinder", std::nullopt, 4},
                                           Case{" 5 Zylinder", std::nullopt, 5},
                                           Case{"99999999999999999999999", std::nullopt, 8}));

}  // namespace
