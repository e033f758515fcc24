// The firmware log as the update reads it back: any text, then the serial
// number looked up. Checked besides crashes and hangs: a line appended for
// a serial number decides its type, as the last matching line must.
#include <cstdint>
#include <string>

#include "firmware/firmware_log.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  // Seven decimal digits, as the serial number printed on a module.
  const uint32_t serial =
      (static_cast<uint32_t>(data[0]) << 16 | data[1] << 8 | data[2]) % 10000000;
  const uint16_t type = static_cast<uint16_t>(data[3] << 8 | data[4]);
  const std::string text(fuzz_support::asText(data + 5, size - 5));
  (void)firmware::findTypeForSerial(text, serial);

  firmware::LogEntry entry;
  entry.typeId = type;
  // BCD, so that the hex field reads as the decimal number.
  for (uint32_t rest = serial, shift = 0; rest != 0; rest /= 10, shift += 4) {
    entry.serial |= (rest % 10) << shift;
  }
  std::string log = text;
  if (!log.empty() && log.back() != '\n') log += '\n';
  log += firmware::logLine(entry);
  const std::optional<uint16_t> found = firmware::findTypeForSerial(log, serial);
  FUZZ_CHECK(found.has_value() && *found == type, "the appended line did not decide the type");
  return 0;
}
