#include "shell/value_fields.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <climits>
#include <string>

namespace {

struct FormatCase {
  uint32_t value;
  int decimals;
  const char* text;
};

class FormatFixed : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatFixed, WritesWithADecimalComma) {
  EXPECT_EQ(shell::formatFixed(GetParam().value, GetParam().decimals), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, FormatFixed,
                         ::testing::Values(FormatCase{1234, 2, "12,34"},
                                           FormatCase{1234, 3, "1,234"}, FormatCase{7, 1, "0,7"},
                                           FormatCase{5, 3, "0,005"}, FormatCase{100, 2, "1,00"},
                                           FormatCase{1234, 0, "1234"}, FormatCase{1234, 4, "1234"},
                                           FormatCase{1234, -1, "1234"},
                                           // Negative values that callers hand over as unsigned.
                                           FormatCase{0xFFFFFFFBu, 0, "-5"},
                                           FormatCase{4294967295u, 1, "429496729,5"}));

struct ParseCase {
  const char* text;
  int decimals;
  int32_t value;
};

class ParseFixed : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseFixed, RoundsInFloatPrecision) {
  EXPECT_EQ(shell::parseFixed(GetParam().text, GetParam().decimals), GetParam().value)
      << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseFixed,
    ::testing::Values(ParseCase{"12,345", 2, 1235},  // 12.345 + 0.005 = 12.35
                      ParseCase{"abc", 2, 0}, ParseCase{"", 1, 0},
                      ParseCase{"-1,25", 2, -124},  // +0.005, then toward zero
                      ParseCase{"0,7", 1, 7}, ParseCase{"2,5", 1, 25}, ParseCase{"1,234", 3, 1234},
                      ParseCase{"12.34", 2, 1234}, ParseCase{" 3,5 mm", 1, 35},
                      ParseCase{"12,9", 0, 12}, ParseCase{"-12,9", 0, -12},
                      // Only 9 characters count, and 123456789 has no exact float.
                      ParseCase{"1234567890", 0, 123456792}, ParseCase{"99999999", 3, INT_MIN},
                      ParseCase{"nan", 1, INT_MIN}));

// The GUI switches to the user's locale; a German one must not make "."
// or "," mean anything else.
TEST(ParseFixedLocale, IgnoresTheProcessLocale) {
  const char* previous = setlocale(LC_NUMERIC, nullptr);
  std::string saved = previous ? previous : "C";
  if (setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      setlocale(LC_NUMERIC, "de_DE") == nullptr) {
    GTEST_SKIP() << "no German locale installed (scripts/install-deps.sh generates one)";
  }
  // Only a locale with a decimal comma shows anything.
  EXPECT_STREQ(localeconv()->decimal_point, ",");
  EXPECT_EQ(shell::parseFixed("12,345", 2), 1235);
  EXPECT_EQ(shell::parseFixed("12.345", 2), 1235);
  setlocale(LC_NUMERIC, saved.c_str());
}

TEST(DecimalSeparator, PointAndComma) {
  std::string text = "1.5;2.25";
  shell::pointToComma(text);
  EXPECT_EQ(text, "1,5;2,25");
  shell::commaToPoint(text);
  EXPECT_EQ(text, "1.5;2.25");
}

TEST(LineEnds, CutAndRemove) {
  std::string text = "a\r\nb\r\n\r\n\n";
  shell::cutLineEnd(text);
  EXPECT_EQ(text, "a\r\nb");
  shell::removeCarriageReturns(text);
  EXPECT_EQ(text, "a\nb");
}

struct CrCase {
  const char* before;
  size_t size;
  const char* after;
};

class AddCarriageReturns : public ::testing::TestWithParam<CrCase> {};

TEST_P(AddCarriageReturns, StaysWithinTheBuffer) {
  std::string text = GetParam().before;
  shell::addCarriageReturns(text, GetParam().size);
  EXPECT_EQ(text, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Table, AddCarriageReturns,
                         ::testing::Values(CrCase{"a\nb\nc", 100, "a\r\nb\r\nc"},
                                           CrCase{"\n\n", 100, "\r\n\r\n"}, CrCase{"ab", 3, "ab"},
                                           // Full buffer (size - 1 bytes): the last
                                           // character makes room for each CR.
                                           CrCase{"a\nbc", 5, "a\r\nb"},
                                           CrCase{"a\nb\ncd", 7, "a\r\nb\r\n"},
                                           // ...a whole character, not half of "ü".
                                           CrCase{"a\nü", 5, "a\r\n"}));

}  // namespace
