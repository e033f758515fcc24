#include "viewers/common/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "viewers_test_support.h"

namespace {

using viewers::CCommandLine;
using viewers::MessageIcon;
using Params = std::vector<std::pair<std::string, std::string>>;

struct SplitCase {
  const char* line;
  bool ok;
  Params params;
  const char* message;  // nullptr: none
};

class CommandLineSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplit, GivesParametersOrOneMessage) {
  const SplitCase& c = GetParam();
  viewers_test::RecordingMessages messages;
  CCommandLine line(c.line, messages);
  EXPECT_EQ(line.IsOk(), c.ok);
  std::vector<std::string> names;
  for (const auto& [name, value] : c.params) {
    names.push_back(name);
    EXPECT_TRUE(line.ParamExists(name)) << name;
    EXPECT_EQ(line.ParamGet(name), value) << name;
  }
  EXPECT_EQ(line.ParamGetNames(), names);
  if (c.message == nullptr) {
    EXPECT_TRUE(messages.shown.empty());
  } else {
    // Reported once, however often the parameters are asked for.
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, c.message);
    EXPECT_EQ(messages.shown[0].second, MessageIcon::kError);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CommandLineSplit,
    ::testing::Values(
        SplitCase{"-com 3 -zahn 60 -luecke 2",
                  true,
                  {{"com", "3"}, {"zahn", "60"}, {"luecke", "2"}},
                  nullptr},
        SplitCase{"-pfad \"C:\\Meine Daten\" -h",
                  true,
                  {{"pfad", "C:\\Meine Daten"}, {"h", ""}},
                  nullptr},
        SplitCase{"", true, {}, nullptr}, SplitCase{"   ", true, {}, nullptr},
        SplitCase{"  -com\t7\t -zyl  4  ", true, {{"com", "7"}, {"zyl", "4"}}, nullptr},
        SplitCase{"-zebmode -com 3", true, {{"zebmode", ""}, {"com", "3"}}, nullptr},
        SplitCase{"-pfad \"\" -h", true, {{"pfad", ""}, {"h", ""}}, nullptr},
        SplitCase{
            "-pfad \"C:\\Meine Daten", false, {}, "Commandline Parameter falsch!\r\n\" fehlt!"},
        SplitCase{"com 3", false, {}, "Commandline Parmeter falsch!\r\ncom 3 "},
        SplitCase{"-", false, {}, "Commandline Parmeter falsch!\r\n- "},
        SplitCase{"-com 3 - -h", false, {}, "Commandline Parmeter falsch!\r\n- -h "},
        // Everything parsed before an error is dropped as well.
        SplitCase{"-com 3 4", false, {}, "Commandline Parmeter falsch!\r\n4 "}));

TEST(CommandLine, NamesIgnoreCaseAndTheFirstOfTwoCounts) {
  viewers_test::RecordingMessages messages;
  CCommandLine line("-Com 3 -com 5", messages);
  EXPECT_TRUE(line.ParamExists("COM"));
  EXPECT_EQ(line.ParamGet("cOm"), "3");
  EXPECT_FALSE(line.ParamExists("zyl"));
  EXPECT_EQ(line.ParamGet("zyl"), "");
}

TEST(CommandLine, ArgumentsWithBlanksStayOneValue) {
  viewers_test::RecordingMessages messages;
  CCommandLine line(CCommandLine::joinArguments({"-pfad", "/home/a/Meine Daten", "-h", "-x", ""}),
                    messages);
  ASSERT_TRUE(line.IsOk());
  EXPECT_EQ(line.ParamGet("pfad"), "/home/a/Meine Daten");
  EXPECT_EQ(line.ParamGetNames(), (std::vector<std::string>{"pfad", "h", "x"}));
  EXPECT_EQ(line.ParamGet("x"), "");
}

}  // namespace
