#include "shell/tagged_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

using shell::TaggedReader;
using shell::TaggedWriter;

// A file of `lines`, each ended by `lineEnd`.
std::FILE* fileOf(const std::vector<std::string>& lines, const std::string& lineEnd) {
  std::FILE* file = std::tmpfile();
  for (const std::string& line : lines) {
    std::fputs(line.c_str(), file);
    std::fputs(lineEnd.c_str(), file);
  }
  std::rewind(file);
  return file;
}

// Files written by the Windows program (CR LF) and by hand on Linux (LF)
// read the same.
class TaggedReaderTest : public ::testing::TestWithParam<std::string> {
 protected:
  std::FILE* make(const std::vector<std::string>& lines) { return fileOf(lines, GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(LineEnds, TaggedReaderTest, ::testing::Values("\r\n", "\n"),
                         [](const auto& info) { return info.param == "\n" ? "Lf" : "CrLf"; });

struct IntCase {
  const char* line;
  int32_t value;
};

TEST_P(TaggedReaderTest, ReadIntLikePercentI) {
  const std::vector<IntCase> cases = {{"0x1F", 31},
                                      {"010", 8},
                                      {"-5", -5},
                                      {"+7", 7},
                                      {"  42 Grad", 42},
                                      {"0", 0},
                                      {"08", 0},
                                      {"0XfF", 255},
                                      {"-0x10", -16},
                                      {"0xFFFFFFFF", -1},
                                      {"2147483647", 2147483647}};
  std::vector<std::string> lines;
  for (const IntCase& c : cases) lines.push_back(c.line);
  TaggedReader reader(make(lines));
  for (const IntCase& c : cases) {
    int32_t value = 12345;
    ASSERT_EQ(reader.readInt(value), 0) << c.line;
    EXPECT_EQ(value, c.value) << c.line;
  }
}

TEST_P(TaggedReaderTest, NoNumberClosesTheFile) {
  for (const char* line : {"abc", "", "- 5", "x12"}) {
    TaggedReader reader(make({line, "5"}));
    int32_t value = 77;
    EXPECT_EQ(reader.readInt(value), 1) << line;
    EXPECT_EQ(value, 77);
    EXPECT_FALSE(reader.isOpen());
    // Later reads find a closed reader, not a crash.
    EXPECT_EQ(reader.readInt(value), 1);
    EXPECT_EQ(reader.seekTag("[X]", 0), 1);
  }
}

TEST_P(TaggedReaderTest, ReadByteValueKeepsLowBits) {
  TaggedReader reader(make({"300", "-1", "0x1FF", "x"}));
  uint8_t value = 0;
  ASSERT_EQ(reader.readByteValue(value), 0);
  EXPECT_EQ(value, 44);
  ASSERT_EQ(reader.readByteValue(value), 0);
  EXPECT_EQ(value, 255);
  ASSERT_EQ(reader.readByteValue(value), 0);
  EXPECT_EQ(value, 255);
  EXPECT_EQ(reader.readByteValue(value), 1);
  EXPECT_FALSE(reader.isOpen());
}

TEST_P(TaggedReaderTest, ReadFloatTakesComma) {
  TaggedReader reader(make({"2,5", "3.25", "-0,125", "1e3", "Komma"}));
  float value = 0;
  for (float expected : {2.5f, 3.25f, -0.125f, 1000.0f}) {
    ASSERT_EQ(reader.readFloat(value), 0);
    EXPECT_EQ(value, expected);
  }
  EXPECT_EQ(reader.readFloat(value), 1);
  EXPECT_FALSE(reader.isOpen());
}

TEST_P(TaggedReaderTest, SeekTagMatchesTheStartOfALine) {
  TaggedReader reader(make({"[Ganganzeige]", "[FlagsB]", "1", "[Flags] Bits 0-7", "2", "[Ende]"}));
  int32_t value = 0;
  ASSERT_EQ(reader.seekTag("[Flags]", 0), 0);
  ASSERT_EQ(reader.readInt(value), 0);
  EXPECT_EQ(value, 2);
  // From the current position the tag is not found again; the file stays open.
  EXPECT_EQ(reader.seekTag("[Flags]", 1), 1);
  EXPECT_TRUE(reader.isOpen());
  // From the start it is.
  ASSERT_EQ(reader.seekTag("[FlagsB]", 0), 0);
  ASSERT_EQ(reader.readInt(value), 0);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(reader.seekTag("[Ganganzeige]", 0), 0);
  EXPECT_EQ(reader.seekTag("[Fehlt]", 0), 1);
  EXPECT_TRUE(reader.isOpen());
}

TEST_P(TaggedReaderTest, ExpectTagReadsExactlyOneLine) {
  TaggedReader reader(make({"[CarLogger]", "[FileVersion]", "3", "[Name]"}));
  EXPECT_EQ(reader.expectTag("[CarLogger]"), 0);
  EXPECT_EQ(reader.expectTag("[FileVersion]"), 0);
  EXPECT_EQ(reader.expectTag("[Name]"), 1);  // the value line stands here
  EXPECT_FALSE(reader.isOpen());
}

TEST_P(TaggedReaderTest, ReadTextSplitsLongLines) {
  const std::string line(350, 'a');
  const std::string marked = std::string(299, 'b') + "c" + std::string(50, 'd');
  TaggedReader reader(make({line, marked, "Z\xFCndung", "kurz"}));
  std::string text;
  ASSERT_EQ(reader.readText(text, 1024), 0);
  EXPECT_EQ(text, std::string(299, 'a'));
  ASSERT_EQ(reader.readText(text, 1024), 0);
  EXPECT_EQ(text, std::string(51, 'a'));
  ASSERT_EQ(reader.readText(text, 1024), 0);
  EXPECT_EQ(text, std::string(299, 'b'));
  ASSERT_EQ(reader.readText(text, 1024), 0);
  EXPECT_EQ(text, "c" + std::string(50, 'd'));
  // The buffer size cuts what is copied, not what is read.
  ASSERT_EQ(reader.readText(text, 4), 0);
  EXPECT_EQ(text, "Zün");
  ASSERT_EQ(reader.readText(text, 1024), 0);
  EXPECT_EQ(text, "kurz");
  EXPECT_EQ(reader.readText(text, 1024), 1);
  EXPECT_EQ(text, "kurz");
  EXPECT_FALSE(reader.isOpen());
}

TEST(TaggedReaderText, ValuesComeBackAsUtf8) {
  std::FILE* file = fileOf({"[Fahrzeug]", "Z\xFCndung \x80 5"}, "\r\n");
  TaggedReader reader(file);
  std::string text;
  ASSERT_EQ(reader.seekTag("[Fahrzeug]", 0), 0);
  ASSERT_EQ(reader.readText(text, 300), 0);
  EXPECT_EQ(text, "Zündung € 5");
}

TEST(TaggedReaderText, EmptyFile) {
  TaggedReader reader(std::tmpfile());
  EXPECT_EQ(reader.seekTag("[BalkenAnzeige]", 0), 1);
  EXPECT_TRUE(reader.isOpen());
  EXPECT_EQ(reader.closeAndReturn(8059), 8059);
  EXPECT_FALSE(reader.isOpen());
}

TEST(TaggedWriterTest, WritesCp1252WithCrLf) {
  test_files::TempFolder folder;
  const std::string path = folder / "test.velGang";
  TaggedWriter writer(std::fopen(path.c_str(), "w"));
  writer.writeLine("[Ganganzeige]");
  writer.writeTagged("[FileVersion]", "2");
  writer.writeTaggedInt("[Helligkeit]", -12);
  writer.writeTagged("[Notiz]", "Zündung\nzweite Zeile");
  EXPECT_EQ(writer.close(), 0);
  EXPECT_EQ(test_files::readFile(path),
            "[Ganganzeige]\r\n[FileVersion]\r\n2\r\n[Helligkeit]\r\n-12\r\n"
            "[Notiz]\r\nZ\xFCndung\r\nzweite Zeile\r\n");

  TaggedReader reader(std::fopen(path.c_str(), "r"));
  int32_t value = 0;
  std::string text;
  ASSERT_EQ(reader.seekTag("[Helligkeit]", 0), 0);
  ASSERT_EQ(reader.readInt(value), 0);
  EXPECT_EQ(value, -12);
  ASSERT_EQ(reader.seekTag("[Notiz]", 0), 0);
  ASSERT_EQ(reader.readText(text, 300), 0);
  EXPECT_EQ(text, "Zündung");
}

TEST(TaggedWriterTest, ReportsAFailedWrite) {
  TaggedWriter writer(std::fopen("/dev/full", "w"));
  if (!writer.isOpen()) GTEST_SKIP() << "no /dev/full";
  writer.writeLine(std::string(100000, 'x'));
  EXPECT_EQ(writer.close(), 1);
}

}  // namespace
