#include "viewers/common/line_settings.h"

#include <gtest/gtest.h>

namespace {

struct SettingsCase {
  const char* text;
  int baudRate;  // 0: refused
};

class LineSettingsParse : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(LineSettingsParse, AcceptsWhatTheSerialLayerCanDo) {
  const SettingsCase& c = GetParam();
  auto settings = viewers::parseLineSettings(c.text);
  if (c.baudRate == 0) {
    EXPECT_FALSE(settings.has_value()) << c.text;
    return;
  }
  ASSERT_TRUE(settings.has_value()) << c.text;
  EXPECT_EQ(settings->baudRate, c.baudRate);
  EXPECT_EQ(settings->parity, 'n');
  EXPECT_EQ(settings->dataBits, 8);
  EXPECT_EQ(settings->stopBits, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LineSettingsParse,
    ::testing::Values(SettingsCase{"9600,n,8,1", 9600}, SettingsCase{"38400,n,8,1", 38400},
                      SettingsCase{"38400,N,8,1", 38400}, SettingsCase{"300,n,8,1", 300},
                      SettingsCase{"9600,e,8,1", 0}, SettingsCase{"9600,n,7,1", 0},
                      SettingsCase{"9600,n,8,2", 0}, SettingsCase{"1234,n,8,1", 0},
                      SettingsCase{"-9600,n,8,1", 0}, SettingsCase{"9600,n,8", 0},
                      SettingsCase{"9600,n,8,1,1", 0}, SettingsCase{"9600,no,8,1", 0},
                      SettingsCase{"9600x,n,8,1", 0}, SettingsCase{"", 0}));

TEST(PortNumberFromText, AsThePortIsSelected) {
  const std::pair<const char*, int> cases[] = {{"3", 3},      {"COM3", 3},   {"com12", 12},
                                               {"Com3 x", 3}, {"COM 3", 0},  {"", 0},
                                               {"COM", 0},    {"cOm99", 99}, {"ccomom7", 0}};
  for (const auto& [text, number] : cases) {
    EXPECT_EQ(viewers::portNumberFromText(text), number) << text;
  }
}

}  // namespace
