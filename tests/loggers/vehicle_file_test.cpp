#include "modules/loggers/vehicle_file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"
#include "texts/logger_text_ids.h"
#include "texts/text_ids.h"

namespace loggers {
namespace {

const std::string kHead =
    "[CarLogger]\n[Referenz]\n4,5\n[G-Sensor]\n0.25\n-0,5\n[RadUmfang]\n1,875\n[Zylinder]\n6\n";
const std::string kPoti = "[Poti]\n%\n2,5\n255 x 100\n0 x 0\n";
const std::string kSensor1 = "[Sensor1]\nbar\n1,5\n470\n1200 Ohm 85,5\n300 Ohm 12.25\n";
const std::string kNoSensors = "[Sensor1]\n[Sensor2]\n[Sensor3]\n[Sensor4]\n";

int32_t read(const std::string& content, VehicleData& v) {
  test_files::TempFolder folder;
  test_files::writeFile(folder / "car.zeb", content);
  return readVehicleFile(folder / "car.zeb", v);
}

TEST(VehicleFile, ReadsEveryValueWithCommaOrPoint) {
  VehicleData v;
  ASSERT_EQ(read(kHead + kPoti + kSensor1 + "[Sensor2]\n[Sensor3]\n[Sensor4]\n", v), 0);
  EXPECT_EQ(v.reference, 4.5f);
  EXPECT_EQ(v.gOffsetX, 0.25f);
  EXPECT_EQ(v.gOffsetY, -0.5f);
  EXPECT_EQ(v.wheelCircumference, 1.875f);
  EXPECT_EQ(v.cylinders, 6);
  EXPECT_EQ(v.poti.parameter, 1);
  EXPECT_EQ(v.poti.unit, "%");
  // The poti factor is read as written: "," ends the number.
  EXPECT_EQ(v.poti.factor, 2.0);
  EXPECT_EQ(v.poti.keys[0], 255);
  EXPECT_EQ(v.poti.values[0], 100.0);
  const SensorCurve& s = v.sensors[0];
  EXPECT_EQ(s.unit, "bar");
  EXPECT_EQ(s.factor, 1.5);
  EXPECT_EQ(s.parameter, 470);
  // "1200 Ohm 85,5": key 1200, value 85.5.
  EXPECT_EQ(s.keys[0], 1200);
  EXPECT_EQ(s.values[0], 85.5);
  EXPECT_EQ(s.keys[1], 300);
  EXPECT_EQ(s.values[1], 12.25);
  EXPECT_EQ(s.keys[2], 0);
  for (int i = 1; i < 4; ++i) EXPECT_EQ(v.sensors[i].parameter, 0) << "sensor " << i + 1;
}

TEST(VehicleFile, CurvesAreSortedAndHoldEighteenLines) {
  std::string sensor = "[Sensor1]\nC\n1\n1000\n";
  for (int i = 1; i <= 18; ++i) sensor += std::to_string(i * 10) + " x " + std::to_string(i) + "\n";
  VehicleData v;
  ASSERT_EQ(read(kHead + sensor + "[Sensor2]\n[Sensor3]\n[Sensor4]\n", v), 0);
  EXPECT_EQ(v.sensors[0].keys[0], 180);
  EXPECT_EQ(v.sensors[0].values[0], 18.0);
  EXPECT_EQ(v.sensors[0].keys[17], 10);
  EXPECT_EQ(v.sensors[0].keys[18], 0);
  sensor += "190 x 19\n";
  EXPECT_EQ(read(kHead + sensor + "[Sensor2]\n[Sensor3]\n[Sensor4]\n", v), texts::kTextFileError);
}

TEST(VehicleFile, NoSensorsAndNoPoti) {
  VehicleData v;
  ASSERT_EQ(read(kHead + kNoSensors, v), 0);
  EXPECT_EQ(v.poti.parameter, 0);
  for (const SensorCurve& s : v.sensors) EXPECT_EQ(s.parameter, 0);
  // Windows line ends and a long unit (cut to 11 characters).
  std::string crlf = kHead +
                     "[Sensor1]\nTemperaturgrad\n1\n1000\n100 x 1\n[Sensor2]\n[Sensor3]\n"
                     "[Sensor4]\n";
  for (size_t p = 0; (p = crlf.find('\n', p)) != std::string::npos; p += 2) crlf.insert(p, "\r");
  ASSERT_EQ(read(crlf, v), 0);
  EXPECT_EQ(v.sensors[0].unit, "Temperaturg");
  EXPECT_EQ(v.cylinders, 6);
}

TEST(VehicleFile, FailureTexts) {
  const struct {
    const char* what;
    std::string content;
    int32_t status;
  } cases[] = {
      {"another file", "[Zuendung]\n" + kHead.substr(12) + kNoSensors,
       texts::kTextWrongFileSelected},
      {"empty", "", texts::kTextWrongFileSelected},
      {"tags out of order",
       "[CarLogger]\n[G-Sensor]\n0\n0\n[Referenz]\n5\n[RadUmfang]\n2\n[Zylinder]\n4\n" + kNoSensors,
       texts::kTextFileError},
      {"a value that is no number",
       "[CarLogger]\n[Referenz]\nfuenf\n" + kHead.substr(27) + kNoSensors, texts::kTextFileError},
      {"cylinders missing", kHead.substr(0, kHead.find("[Zylinder]")) + kNoSensors,
       texts::kTextFileError},
      {"sensor 3 missing", kHead + "[Sensor1]\n[Sensor2]\n[Sensor4]\n", texts::kTextFileError},
      {"file ends in sensor 2", kHead + "[Sensor1]\n[Sensor2]\n", texts::kTextFileError},
      {"a curve line without a value",
       kHead + "[Sensor1]\nC\n1\n1000\n100 x\n[Sensor2]\n"
               "[Sensor3]\n[Sensor4]\n",
       texts::kTextFileError},
  };
  for (const auto& c : cases) {
    VehicleData v;
    v.cylinders = 99;
    EXPECT_EQ(read(c.content, v), c.status) << c.what;
    EXPECT_EQ(v.cylinders, 99) << c.what << ": nothing taken from a broken file";
  }
}

TEST(VehicleFile, MissingFileOrOnlyAFolderAsksForAVehicleFile) {
  test_files::TempFolder folder;
  VehicleData v;
  EXPECT_EQ(readVehicleFile(folder / "none.zeb", v), texts::kTextChooseVehicleFile);
  EXPECT_EQ(readVehicleFile(folder.path(), v), texts::kTextChooseVehicleFile);
}

}  // namespace
}  // namespace loggers
