// The car logger's log images (modules/loggers/car_log_conversion.h). The
// first 40 bytes give the vehicle values (any bit pattern, so NaN, infinity
// and huge numbers too), the rest is the image. Checked: the conversion
// succeeds; the raw copy is exactly the non-empty blocks; the same input
// gives the same text a second time (no state survives a conversion); the
// CSV runs as well.
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "modules/loggers/car_log_conversion.h"

namespace {

loggers::VehicleData vehicle(const uint8_t* d) {
  loggers::VehicleData v;
  std::memcpy(&v.reference, d, 4);
  std::memcpy(&v.wheelCircumference, d + 4, 4);
  std::memcpy(&v.gOffsetX, d + 8, 4);
  std::memcpy(&v.gOffsetY, d + 12, 4);
  std::memcpy(&v.cylinders, d + 16, 4);
  v.poti.parameter = d[20] & 1;
  std::memcpy(&v.poti.factor, d + 24, 8);
  v.poti.unit = "%";
  for (int i = 0; i < 3; ++i) {
    v.poti.keys[i] = 200 - 80 * i;
    v.poti.values[i] = 100.0 - 40 * i;
  }
  v.sensors[0].parameter = d[21];
  std::memcpy(&v.sensors[0].factor, d + 32, 8);
  v.sensors[0].keys[0] = 4000;
  v.sensors[0].values[0] = 1e30 * (d[22] & 1);
  v.sensors[0].unit = "C";
  return v;
}

std::string convert(const loggers::VehicleData& v, const std::string& image,
                    loggers::OutputFormat format, std::string* raw, std::string* side) {
  std::istringstream in(image);
  std::ostringstream out, rawOut, sideOut;
  loggers::ConversionOptions options;
  options.format = format;
  FUZZ_CHECK(loggers::convertCarLog(in, v, out, &rawOut, &sideOut, options) == 0,
             "conversion failed");
  if (raw != nullptr) *raw = rawOut.str();
  if (side != nullptr) *side = sideOut.str();
  return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kValues = 40;
  if (size < kValues) return 0;
  const loggers::VehicleData v = vehicle(data);
  const std::string image(reinterpret_cast<const char*>(data + kValues), size - kValues);

  std::string raw, side;
  const std::string first = convert(v, image, loggers::OutputFormat::Text, &raw, &side);
  std::string expected;
  for (size_t at = 0; at + 512 <= image.size(); at += 512) {
    const bool erased = image.compare(at, 7, std::string(7, '\xFF')) == 0;
    if (!erased) expected += image.substr(at, 512);
  }
  FUZZ_CHECK(raw == expected, "the raw copy is not the non-empty blocks");
  const std::string second = convert(v, image, loggers::OutputFormat::Text, nullptr, nullptr);
  FUZZ_CHECK(first == second, fuzz_support::firstDifference(first, second));
  convert(v, image, loggers::OutputFormat::Csv, nullptr, nullptr);
  return 0;
}
