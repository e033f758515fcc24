#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "log_blocks.h"
#include "modules/loggers/car_log_conversion.h"
#include "modules/loggers/log_files.h"
#include "modules/loggers/vehicle_file.h"
#include "tests/support/temp_folder.h"
#include "texts/logger_text_ids.h"

namespace loggers::test {
namespace {

// Reference 5,0 (supply 15/256 V per step, probes 2,5/256 V per step),
// G offsets 0,5 and -0,25, a wheel of 2 m, 4 cylinders, no poti, sensor 1
// behind 1000 ohms with the curve 2000 -> 100, 1000 -> 50, 500 -> 20.
const char kVehicleFile[] =
    "[CarLogger]\r\n[Referenz]\r\n5,0\r\n[G-Sensor]\r\n0.5\r\n-0,25\r\n[RadUmfang]\r\n2\r\n"
    "[Zylinder]\r\n4\r\n[Sensor1]\r\n\xB0"
    "C\r\n1\r\n1000\r\n500 Ohm 20\r\n2000 Ohm 100\r\n1000 Ohm 50\r\n[Sensor2]\r\n[Sensor3]\r\n"
    "[Sensor4]\r\n";

VehicleData vehicle() {
  test_files::TempFolder folder;
  test_files::writeFile(folder / "car.zeb", kVehicleFile);
  VehicleData v;
  EXPECT_EQ(readVehicleFile(folder / "car.zeb", v), 0);
  return v;
}

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

struct Image {
  std::string bytes;
  std::string rawCopy;
};

// Empty first block; a full block from 14:05:00 with two records of one
// pulse, then a standstill; a block 10 s later (no gap) with two pulses
// after 31 pulse-free records; one 5 s later (a gap); a stream block with a
// receive error; a block 2 min later (a gap, the distance starts again);
// an empty block.
Image image() {
  Block b1 = block(2019, 3, 3, 14, 5, 0);
  setRecord(b1, 0, 0, {0, 0x01, 5, 0x0B, 0xB8, 50, 25, 77, 56, 100, 0x04});
  setRecord(b1, 0, 1, {0, 0x01, 5, 0x0B, 0xB8, 50, 25, 77, 56, 100, 0x00});
  setRecord(b1, 1, 0, {0, 0x01});
  setGroup(b1, 0, {255, 0, 0, 0, 239});
  for (int g = 1; g < 5; ++g) setGroup(b1, g, {153, 0, 0, 0, 0});

  Block b2 = block(2019, 3, 3, 14, 5, 10);
  setRecord(b2, 0, 0, {0, 0x02});
  setRecord(b2, 0, 1, {0xFF, 0xFF});

  Block b3 = block(2019, 3, 3, 14, 5, 15);
  setRecord(b3, 0, 0, {0, 0x01});
  setRecord(b3, 0, 1, {0xFF, 0xFF});

  Block b4 = block(2019, 3, 3, 14, 6, 0, 0xFF);
  b4[8] = 0x01;
  setStream(b4, {0xFF, 0x01, 0xF4, 0x00, 0x5A, 0x12, 0xF2, 0x00, 0x64, 0x00, 0xC8});

  Block b5 = block(2019, 3, 3, 14, 8, 0);
  setRecord(b5, 0, 0, {0, 0x01});
  setRecord(b5, 0, 1, {0xFF, 0xFF});

  Image i;
  i.bytes = join({erasedBlock(), b1, b2, b3, b4, b5, erasedBlock()});
  i.rawCopy = join({b1, b2, b3, b4, b5});
  return i;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t p; (p = text.find("\r\n", start)) != std::string::npos; start = p + 2) {
    out.push_back(text.substr(start, p - start));
  }
  out.push_back(text.substr(start));
  return out;
}

std::string expectedText() {
  const std::string date = "03.03.2019\t";
  const std::string group0 = "\t20,0\t0,0\t0,0\t0,0\t14,0";
  const std::string group = "\t10,0\t0,0\t0,0\t0,0\t0,0";
  // A record of zeros: no pulse, rpm 0, X -0,50 g, Y 0,25 g, poti raw 0,
  // both probes at 0 V (lambda 1,3), no marker.
  auto still = [&](const std::string& time, const std::string& km, const std::string& speed,
                   const std::string& g) {
    return date + time + "\t" + km + "\t" + speed + "\t   0\t-0,50\t0,25\t   0\t1,3\t1,3\t " + g;
  };
  std::string t = "Konvertiert am 03.03.2019 um 14:05:07\r\n\r\n";
  t += "Datum\tUhrzeit\tDistanz\tTacho\tDrehzahl\tG-Sensor\t\tPotiPos\tLambda\t\tMarker\tSensor 1"
       "\tSensor 2\tSensor 3\tSensor 4\tSpannung\r\n";
  t += "\t\tkm\tkm/h\t1/min\tX\tY\t\tA\tB\t\t\xB0"
       "C\t\t\t\tV\r\n";
  t += "\r\n";  // the first block is always more than 2 s after "no block yet"
  // One pulse of 2 m in 250 ms: 28,8 km/h; 4 ignition pulses in 3000 x 8 us:
  // 5000 1/min; probes at 56 and 100 steps: lambda 1,0 and 0,8.
  t += date + "14:05:00\t  0,002\t28,8\t5000\t0,50\t0,75\t  77\t1,0\t0,8\t1" + group0 + "\r\n";
  t += date + "14:05:00\t  0,004\t28,8\t5000\t0,50\t0,75\t  77\t1,0\t0,8\t " + group0 + "\r\n";
  t += still("14:05:00", "  0,004", "28,8", group0) + "\r\n";
  t += still("14:05:00", "  0,004", "28,8", group0) + "\r\n";
  t += still("14:05:01", "  0,004", "28,8", group0) + "\r\n";
  t += still("14:05:01", "  0,004", "28,8", group0) + "\r\n";
  t += still("14:05:01", "  0,004", "28,8", group0) + "\r\n";
  t += still("14:05:01", "  0,004", "0,0", group0) + "\r\n";  // the 6th without a pulse
  // One pulse after 6 pulse-free records: 1 750 000 us -> 4,1 km/h.
  t += still("14:05:02", "  0,006", "4,1", group) + "\r\n";
  for (int k = 1; k < 8; ++k) {
    t += still(k < 4 ? "14:05:02" : "14:05:03", "  0,006", k < 6 ? "4,1" : "0,0", group) + "\r\n";
  }
  for (int g = 2; g < 5; ++g) {
    for (int k = 0; k < 8; ++k) {
      const int second = 2 * g + (k < 4 ? 0 : 1);
      const std::string time = std::string("14:05:0") + static_cast<char>('0' + second);
      t += still(time, "  0,006", "0,0", group) + "\r\n";
    }
  }
  // 10 s later: no gap. Two pulses after 31 pulse-free records:
  // 8 000 000 us / 2 -> 1,8 km/h; 5 pulses in all: 10 m.
  const std::string zeros = "\t0,0\t0,0\t0,0\t0,0\t0,0";
  t += still("14:05:10", "  0,010", "1,8", zeros) + "\r\n";
  t += "\r\n";  // 5 s apart
  t += still("14:05:15", "  0,012", "28,8", zeros) + "\r\n";
  // The stream block: a speed frame, a stray byte, a timer frame.
  t += "\r\n03.03.2019\t14:06:00";
  t += "\r\nff 01 f4 00 5a 15000 rpm \t16 Grad\tP:   500   2 ms W:   90";
  t += "\r\n12 \tEmpfangs-Fehler";
  t += "\r\nf2 00 64 00 c8 \t75000 rpm\t  100\t  100\t  0 ms\t  200\t  200\t  0 ms\tZuendung\tZ1";
  t += "\r\n";  // 2 min later: a gap, and the distance starts again
  t += still("14:08:00", "  0,002", "28,8", zeros) + "\r\n";
  return t;
}

TEST(CarLogConversion, HandBuiltImageGivesTheTextLineByLine) {
  const Image img = image();
  std::istringstream in(img.bytes);
  std::ostringstream out, raw, side;
  ConversionOptions options;
  options.stamp = stamp();
  ASSERT_EQ(convertCarLog(in, vehicle(), out, &raw, &side, options), 0);
  const std::vector<std::string> got = lines(out.str());
  const std::vector<std::string> want = lines(expectedText());
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
  EXPECT_TRUE(raw.str() == img.rawCopy) << "the raw copy holds the non-empty blocks unchanged";
  EXPECT_EQ(side.str(), "\r\n03.03.2019\t14:06:00");
}

TEST(CarLogConversion, EveryConversionStartsAfresh) {
  // The same image twice in one run: no gap time, speed or stream timer of
  // the first conversion may change the second.
  const Image img = image();
  const VehicleData v = vehicle();
  std::string first;
  for (int run = 0; run < 2; ++run) {
    std::istringstream in(img.bytes);
    std::ostringstream out;
    ConversionOptions options;
    options.stamp = stamp();
    ASSERT_EQ(convertCarLog(in, v, out, nullptr, nullptr, options), 0);
    if (run == 0) first = out.str();
    if (run == 1) {
      EXPECT_TRUE(out.str() == first);
    }
  }
}

TEST(CarLogConversion, CsvKeepsEverySampleWithIsoTimesAndDots) {
  Block b = block(2019, 3, 3, 23, 59, 55);
  setRecord(b, 0, 0, {0, 0x01, 5, 0x0B, 0xB8, 50, 25, 77, 56, 100, 0x04});
  setGroup(b, 0, {255, 0, 0, 0, 239});
  setRecord(b, 3, 0, {0xFF, 0xFF});
  std::istringstream in(join({b}));
  std::ostringstream out;
  ConversionOptions options;
  options.format = OutputFormat::Csv;
  ASSERT_EQ(convertCarLog(in, vehicle(), out, nullptr, nullptr, options), 0);
  const std::string csv = out.str();
  EXPECT_EQ(csv.substr(0, csv.find('\n')),
            "time,distance [m],speed [km/h],engine speed [1/min],acceleration X [g],"
            "acceleration Y [g],throttle [raw],lambda A,lambda B,marker,sensor 1 [\xC2\xB0"
            "C],sensor 2,sensor 3,sensor 4,supply voltage [V]");
  std::vector<std::string> rows;
  std::istringstream rowsIn(csv);
  for (std::string row; std::getline(rowsIn, row);) rows.push_back(row);
  // Header, 3 groups of 8 records, no gap line.
  ASSERT_EQ(rows.size(), 1u + 24u);
  EXPECT_EQ(rows[1],
            "2019-03-03T23:59:55.000,2,28.8,5000,0.50,0.75,77,1.0,0.8,1,20.0,0.0,0.0,0.0,14.0");
  EXPECT_EQ(rows[2].substr(0, 24), "2019-03-03T23:59:55.250,");
  EXPECT_EQ(rows[5].substr(0, 24), "2019-03-03T23:59:56.000,");
  // Group 2 starts 4 s after the block: past midnight, on the next day.
  EXPECT_EQ(rows[17].substr(0, 24), "2019-03-03T23:59:59.000,");
  EXPECT_EQ(rows[21].substr(0, 24), "2019-03-04T00:00:00.000,");
}

TEST(CarLogConversion, FailuresOfTheFiles) {
  test_files::TempFolder folder;
  const VehicleData v = vehicle();
  ConversionOptions options;
  test_files::writeFile(folder / "LogDatei.bin", image().bytes);
  // The output folder does not exist.
  EXPECT_EQ(convertCarLogFile(folder / "LogDatei.bin", folder / "missing/out.txt",
                              folder / "LogDatei.txt", v, options),
            texts::kTextCannotOpenLogFile);
  EXPECT_EQ(convertCarLogFile(folder / "none.bin", folder / "out.txt", folder / "LogDatei.txt", v,
                              options),
            texts::kTextCannotOpenLogFile);
  // A full disk is a failure, not a cut text file reported as nothing.
  std::filesystem::create_symlink("/dev/full", folder / "full.txt");
  EXPECT_EQ(convertCarLogFile(folder / "LogDatei.bin", folder / "full.txt", folder / "LogDatei.txt",
                              v, options),
            texts::kTextFileWriteError);
  ASSERT_EQ(convertCarLogFile(folder / "LogDatei.bin", folder / "LogDatei-20190303-1405.txt",
                              folder / "LogDatei.txt", v, options),
            0);
  EXPECT_TRUE(test_files::readFile(folder / "LogDatei-20190303-1405.bin") == image().rawCopy);
}

TEST(CarLogConversion, OutputNameFromTheTimeOfTheConversion) {
  EXPECT_EQ(outputFileName(stamp()), "LogDatei-20190303-1405.txt");
  EXPECT_EQ(replaceExtension("/x/LogDatei-20190303-1405.txt", ".bin"),
            "/x/LogDatei-20190303-1405.bin");
  EXPECT_EQ(replaceExtension("/x/LogDatei-20190303-1405.txt", "-Dump.bin"),
            "/x/LogDatei-20190303-1405-Dump.bin");
}

}  // namespace
}  // namespace loggers::test
