#include "modules/loggers/lambda_conversion.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "log_blocks.h"
#include "modules/loggers/log_files.h"
#include "tests/support/temp_folder.h"
#include "texts/logger_text_ids.h"

namespace loggers::test {
namespace {

platform::LocalTime stamp() {
  platform::LocalTime t;
  t.year = 2019;
  t.month = 3;
  t.day = 3;
  t.hour = 14;
  t.minute = 5;
  t.second = 7;
  return t;
}

// A block from 23:59:59: sample 98 and a speed record of period 3750;
// 73 samples of 5 (74 after the block start: one second later); a speed
// record of period 0; a speed record whose low byte comes with the next
// block. Then an erased block, and a block in use after it that is not
// converted.
std::string image() {
  Block b1 = block(2019, 3, 3, 23, 59, 59);
  setStream(b1, {98, 255, 0x0E, 0xA6});
  for (size_t i = 16; i < 16 + 73; ++i) b1[i] = 5;
  setStream(b1, {255, 0, 0, 255, 0x0E}, 89);
  Block b2 = block(2019, 3, 4, 0, 0, 10);
  setStream(b2, {0xA6});
  Block late = block(2019, 3, 4, 1, 0, 0);
  setStream(late, {7, 255, 0x0E, 0xA6});
  return join({b1, b2, erasedBlock(), late});
}

TEST(LambdaLogConversion, HandBuiltImageGivesTheText) {
  const std::string bytes = image();
  std::istringstream in(bytes);
  std::ostringstream out, dump;
  ConversionOptions options;
  options.stamp = stamp();
  ASSERT_EQ(convertLambdaLog(in, out, &dump, options), 0);
  EXPECT_EQ(out.str(),
            "Konvertiert am 03.03.2019 um 14:05:07\r\n\r\n"
            "Datum\tUhrzeit\tDrehzahl\tLambda\r\n"
            "\r\n03.03.2019\t23:59:59\t 1000\t0,98"
            "\r\n03.03.2019\t24:00:00\t    0\t0,05"
            "\r\n04.03.2019\t0:00:10\t 1000\t0,05");
  EXPECT_TRUE(dump.str() == bytes.substr(0, 1024)) << "the two blocks in use, unchanged";
}

TEST(LambdaLogConversion, ClockAdvancesAfter74Samples) {
  // 73 samples make 9928 tenths of a millisecond, the 74th 10064.
  for (const auto& [samples, time] : {std::pair{73, "12:00:00"}, std::pair{74, "12:00:01"}}) {
    Block b = block(2020, 1, 2, 12, 0, 0);
    for (int i = 0; i < samples; ++i) b[12 + static_cast<size_t>(i)] = 100;
    setStream(b, {255, 0x0E, 0xA6}, 12 + static_cast<size_t>(samples));
    std::istringstream in(join({b}));
    std::ostringstream out;
    ASSERT_EQ(convertLambdaLog(in, out, nullptr, ConversionOptions()), 0);
    EXPECT_NE(out.str().find(std::string("\t") + time + "\t 1000\t1,00"), std::string::npos)
        << samples << " samples";
  }
}

TEST(LambdaLogConversion, ParserStartsAfreshForEveryConversion) {
  // A log that ends inside a speed record must not complete a record with
  // the first bytes of the next log.
  Block cut = block(2020, 1, 2, 12, 0, 0);
  setStream(cut, {50, 255, 0x0E});
  Block next = block(2020, 1, 2, 13, 0, 0);
  setStream(next, {0xA6, 40});
  std::istringstream first(join({cut}));
  std::ostringstream ignored;
  ASSERT_EQ(convertLambdaLog(first, ignored, nullptr, ConversionOptions()), 0);
  std::istringstream second(join({next}));
  std::ostringstream out;
  ASSERT_EQ(convertLambdaLog(second, out, nullptr, ConversionOptions()), 0);
  EXPECT_EQ(out.str().find("13:00:00"), std::string::npos) << out.str();
}

TEST(LambdaLogConversion, CsvHasARowForEverySampleAndSpeedRecord) {
  Block b = block(2019, 3, 3, 23, 59, 59);
  setStream(b, {98, 255, 0x0E, 0xA6, 7});
  std::istringstream in(join({b}));
  std::ostringstream out;
  ConversionOptions options;
  options.format = OutputFormat::Csv;
  ASSERT_EQ(convertLambdaLog(in, out, nullptr, options), 0);
  EXPECT_EQ(out.str(),
            "time,engine speed [1/min],lambda\n"
            "2019-03-03T23:59:59.000,,0.98\n"
            "2019-03-03T23:59:59.013,1000,\n"
            "2019-03-03T23:59:59.013,,0.07\n");
}

TEST(LambdaLogConversion, FileFailures) {
  test_files::TempFolder folder;
  ConversionOptions options;
  test_files::writeFile(folder / "empty.bin", join({erasedBlock()}) + image().substr(0, 512));
  EXPECT_EQ(
      convertLambdaLogFile(folder / "empty.bin", folder / "out.txt", folder / "side.txt", options),
      texts::kTextFileEmpty);
  EXPECT_EQ(
      convertLambdaLogFile(folder / "none.bin", folder / "out.txt", folder / "side.txt", options),
      texts::kTextCannotOpenLogFile);
  test_files::writeFile(folder / "LogDatei.bin", image());
  EXPECT_EQ(convertLambdaLogFile(folder / "LogDatei.bin", folder / "no/out.txt",
                                 folder / "side.txt", options),
            texts::kTextCannotOpenLogFile);
  ASSERT_EQ(convertLambdaLogFile(folder / "LogDatei.bin", folder / "LogDatei-20190303-1405.txt",
                                 folder / "side.txt", options),
            0);
  EXPECT_EQ(test_files::readFile(folder / "LogDatei-20190303-1405-Dump.bin").size(), 1024u);
  EXPECT_EQ(test_files::readFile(folder / "side.txt"), "");
}

}  // namespace
}  // namespace loggers::test
