// The lambda display's log images (modules/loggers/lambda_conversion.h).
// Checked: the conversion succeeds; the dump is the blocks up to the first
// one not in use; every line of the text has its four fields; a second
// conversion gives the same text; the CSV runs as well.
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "modules/loggers/lambda_conversion.h"

namespace {

std::string convert(const std::string& image, loggers::OutputFormat format, std::string* dump) {
  std::istringstream in(image);
  std::ostringstream out, dumpOut;
  loggers::ConversionOptions options;
  options.format = format;
  FUZZ_CHECK(loggers::convertLambdaLog(in, out, &dumpOut, options) == 0, "conversion failed");
  if (dump != nullptr) *dump = dumpOut.str();
  return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string image(reinterpret_cast<const char*>(data), size);
  std::string dump;
  const std::string text = convert(image, loggers::OutputFormat::Text, &dump);
  size_t inUse = 0;
  while (inUse + 512 <= image.size() && image.compare(inUse, 7, std::string(7, '\xFF')) != 0) {
    inUse += 512;
  }
  FUZZ_CHECK(dump == image.substr(0, inUse), "the dump is not the blocks in use");
  // After the two header lines every line is "\r\nDATE\tTIME\tSPEED\tLAMBDA".
  const size_t body = text.find("Lambda\r\n");
  FUZZ_CHECK(body != std::string::npos, "no header");
  for (size_t at = body + 8; at < text.size();) {
    FUZZ_CHECK(text.compare(at, 2, "\r\n") == 0, "a line without its line break");
    const size_t next = text.find("\r\n", at + 2);
    const std::string line = text.substr(at + 2, next - at - 2);
    FUZZ_CHECK(std::count(line.begin(), line.end(), '\t') == 3, line);
    at = next == std::string::npos ? text.size() : next;
  }
  FUZZ_CHECK(convert(image, loggers::OutputFormat::Text, nullptr) == text,
             "a second conversion differs");
  convert(image, loggers::OutputFormat::Csv, nullptr);
  return 0;
}
