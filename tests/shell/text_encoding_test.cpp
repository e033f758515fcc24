#include <gtest/gtest.h>

#include <string>

#include "platform/cp1252.h"

namespace {

using platform::cp1252ToUtf8;
using platform::utf8ToCp1252;

TEST(Cp1252, ZuendungRoundTrip) {
  EXPECT_EQ(utf8ToCp1252("Zündung"), "Z\xFCndung");
  EXPECT_EQ(cp1252ToUtf8("Z\xFCndung"), "Zündung");
}

struct CharCase {
  const char* utf8;
  const char* cp1252;
};

class Cp1252Chars : public ::testing::TestWithParam<CharCase> {};

TEST_P(Cp1252Chars, MapsBothWays) {
  EXPECT_EQ(utf8ToCp1252(GetParam().utf8), GetParam().cp1252);
  EXPECT_EQ(cp1252ToUtf8(GetParam().cp1252), GetParam().utf8);
}

// The 0x80-0x9F range is where cp1252 differs from Latin-1.
INSTANTIATE_TEST_SUITE_P(
    Table, Cp1252Chars,
    ::testing::Values(CharCase{"€", "\x80"}, CharCase{"‚", "\x82"}, CharCase{"„", "\x84"},
                      CharCase{"…", "\x85"}, CharCase{"Š", "\x8A"}, CharCase{"Ž", "\x8E"},
                      CharCase{"“", "\x93"}, CharCase{"–", "\x96"}, CharCase{"™", "\x99"},
                      CharCase{"ž", "\x9E"}, CharCase{"Ÿ", "\x9F"}, CharCase{"\u00A0", "\xA0"},
                      CharCase{"ß", "\xDF"}, CharCase{"Ö", "\xD6"}, CharCase{"ÿ", "\xFF"}));

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(Cp1252, WhatTheCodePageLacksBecomesAQuestionMark) {
  EXPECT_EQ(utf8ToCp1252("Ω=1"), "?=1");
  EXPECT_EQ(utf8ToCp1252("😀x"), "?x");
  // A C1 control that cp1252 uses for a printable character.
  EXPECT_EQ(utf8ToCp1252("\u0080"), "?");
  // Malformed UTF-8: a cut sequence, a stray continuation byte, an overlong
  // form; each bad byte counts once.
  EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");
  EXPECT_EQ(utf8ToCp1252("\x80z"), "?z");
  EXPECT_EQ(utf8ToCp1252("\xC0\xAF"), "??");
}

}  // namespace
