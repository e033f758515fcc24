// The log conversions on the largest card the car logger page prepares
// (1000 hours: 148 000 kByte of blocks), for the car logger and for an
// equally large lambda image: MB/s read and written, peak memory, and the
// time of copying the input and the produced text in the same run, which is
// what moving the bytes costs at least. Exits 1 when a conversion takes more
// than 3 times that, or the process grew beyond 64 MB.
#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "log_image_generator.h"
#include "modules/loggers/car_log_conversion.h"
#include "modules/loggers/lambda_conversion.h"
#include "modules/loggers/log_files.h"
#include "modules/loggers/vehicle_file.h"

namespace fs = std::filesystem;

namespace {

constexpr double kMaxRatio = 3.0;
constexpr double kMaxPeakMb = 64.0;
// Each time is the fastest of a few runs: the machine is shared.
constexpr int kRuns = 3;
constexpr uint64_t kBlocks = loggers::carLogFileBytes(loggers::kMaxHours) / 512;

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double peakMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// A plain copy in pieces of 1 MByte, as fast as the files let bytes move.
double copySeconds(const std::string& from, const std::string& to) {
  const double start = now();
  std::FILE* in = std::fopen(from.c_str(), "rb");
  std::FILE* out = std::fopen(to.c_str(), "wb");
  std::vector<char> piece(1 << 20);
  size_t n = 0;
  while (in != nullptr && out != nullptr &&
         (n = std::fread(piece.data(), 1, piece.size(), in)) > 0) {
    std::fwrite(piece.data(), 1, n, out);
  }
  if (in != nullptr) std::fclose(in);
  if (out != nullptr) std::fclose(out);
  const double seconds = now() - start;
  fs::remove(to);
  return seconds;
}

struct Result {
  double seconds = 0;
  double copy = 0;
  uint64_t in = 0;
  uint64_t out = 0;
};

bool report(const char* name, const Result& r) {
  const double mb = 1e6;
  const double ratio = r.seconds / r.copy;
  std::printf("%s: %.1f MB in, %.1f MB text out in %.2f s: %.0f MB/s in, %.0f MB/s out\n", name,
              static_cast<double>(r.in) / mb, static_cast<double>(r.out) / mb, r.seconds,
              static_cast<double>(r.in) / mb / r.seconds,
              static_cast<double>(r.out) / mb / r.seconds);
  std::printf("%s: copying input and text takes %.2f s; the conversion %.2f x that (limit %.1f)\n",
              name, r.copy, ratio, kMaxRatio);
  return ratio <= kMaxRatio;
}

}  // namespace

int main() {
  // Files in memory unless TMPDIR says otherwise: on a disk the copy times
  // swing with the kernel's write-back of the gigabyte written before them.
  const char* tmp = std::getenv("TMPDIR");
  const fs::path base = tmp != nullptr && *tmp != '\0' ? fs::path(tmp)
                        : fs::is_directory("/dev/shm") ? fs::path("/dev/shm")
                                                       : fs::temp_directory_path();
  std::string pattern = (base / "tunvexa-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return 2;
  const std::string dir = pattern;
  const std::string car = dir + "/car.bin";
  const std::string lambda = dir + "/lambda.bin";
  {
    std::ofstream(dir + "/car.zeb", std::ios::binary) << loggers::images::vehicleFile();
    std::ofstream carOut(car, std::ios::binary);
    loggers::images::writeCarImage(carOut, kBlocks, 1234);
    std::ofstream lambdaOut(lambda, std::ios::binary);
    loggers::images::writeLambdaImage(lambdaOut, kBlocks, 5678);
  }
  loggers::VehicleData vehicle;
  if (loggers::readVehicleFile(dir + "/car.zeb", vehicle) != 0) return 2;
  loggers::ConversionOptions options;
  options.stamp = {2019, 3, 3, 14, 5, 7, 0};

  bool ok = true;
  {
    Result r;
    r.in = fs::file_size(car);
    r.seconds = r.copy = 1e9;
    for (int run = 0; run < kRuns; ++run) {
      const double start = now();
      std::ifstream in(car, std::ios::binary);
      std::ofstream out(dir + "/car.txt", std::ios::binary);
      loggers::ConversionCounts counts;
      if (loggers::convertCarLog(in, vehicle, out, nullptr, nullptr, options, &counts) != 0) {
        return 2;
      }
      out.close();
      r.seconds = std::min(r.seconds, now() - start);
      r.out = counts.bytesOut;
      r.copy = std::min(
          r.copy, copySeconds(car, dir + "/copy") + copySeconds(dir + "/car.txt", dir + "/copy"));
    }
    ok = report("car logger", r) && ok;
    fs::remove(dir + "/car.txt");
  }
  {
    Result r;
    r.in = fs::file_size(lambda);
    r.seconds = r.copy = 1e9;
    for (int run = 0; run < kRuns; ++run) {
      const double start = now();
      std::ifstream in(lambda, std::ios::binary);
      std::ofstream out(dir + "/lambda.txt", std::ios::binary);
      loggers::ConversionCounts counts;
      if (loggers::convertLambdaLog(in, out, nullptr, options, &counts) != 0) return 2;
      out.close();
      r.seconds = std::min(r.seconds, now() - start);
      r.out = counts.bytesOut;
      r.copy = std::min(r.copy, copySeconds(lambda, dir + "/copy") +
                                    copySeconds(dir + "/lambda.txt", dir + "/copy"));
    }
    ok = report("lambda", r) && ok;
  }
  const double peak = peakMb();
  std::printf("peak memory %.1f MB (limit %.0f MB)\n", peak, kMaxPeakMb);
  fs::remove_all(dir);
  return ok && peak <= kMaxPeakMb ? 0 : 1;
}
