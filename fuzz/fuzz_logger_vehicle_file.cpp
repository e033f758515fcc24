// The car logger's vehicle file (modules/loggers/vehicle_file.h). Checked:
// only the documented statuses; a refused file leaves the data as it was; a
// read file has its curves sorted with at most 18 lines and units of at most
// 11 characters, and its curves and a data block convert with it.
#include <array>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "modules/loggers/car_log_conversion.h"
#include "modules/loggers/vehicle_file.h"
#include "texts/text_ids.h"

using fuzz_support::inFolder;

namespace {

size_t characters(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80 ? 1 : 0;
  return n;
}

void checkCurve(const loggers::SensorCurve& c) {
  FUZZ_CHECK(characters(c.unit) <= loggers::kUnitLength, c.unit);
  for (int i = 1; i < loggers::kCurvePoints; ++i) {
    if (c.keys[i] == 0 && c.values[i] == 0) continue;
    FUZZ_CHECK(c.keys[i - 1] >= c.keys[i], "curve keys not sorted");
  }
  FUZZ_CHECK(c.keys[loggers::kCurvePoints - 1] == 0 && c.values[loggers::kCurvePoints - 1] == 0,
             "the 19th point holds a curve line");
  for (double x : {-1e300, -1.0, 0.0, 0.5, 1.0, 255.0, 1e9, 1e300}) {
    (void)loggers::evaluateCurve(c, x);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::isolateUserFolders();
  fuzz_support::freshFolder(inFolder("vehicle"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = inFolder("vehicle/car.zeb");
  fuzz_support::writeFile(path, fuzz_support::asText(data, size));
  loggers::VehicleData v;
  v.cylinders = 77;
  const int32_t status = loggers::readVehicleFile(path, v);
  if (status == texts::kTextWrongFileSelected || status == texts::kTextFileError) {
    FUZZ_CHECK(v.cylinders == 77, "a refused file changed the data");
    return 0;
  }
  FUZZ_CHECK(status == 0, "unexpected status " + std::to_string(status));
  checkCurve(v.poti);
  for (const loggers::SensorCurve& c : v.sensors) checkCurve(c);

  // One data block of varied records and a stream block, with these values.
  std::array<uint8_t, 1024> image{};
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 37 + 11);
  image[8] = 0;
  image[512 + 8] = 1;
  std::istringstream in(std::string(image.begin(), image.end()));
  std::ostringstream out;
  FUZZ_CHECK(loggers::convertCarLog(in, v, out, nullptr, nullptr, {}) == 0, "conversion failed");
  return 0;
}
