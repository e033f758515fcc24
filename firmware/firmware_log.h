#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/clock.h"

// The firmware log: one line per active start of a file with a section per
// module type, so that a module whose new firmware never came up can later be
// told apart by the serial number printed on it.
namespace firmware {

inline constexpr const char* kFirmwareLogName = "FirmwareLog.log";

struct LogEntry {
  uint32_t serial = 0;  // memory bytes 0xFC-0xFF, high byte first (BCD)
  uint16_t typeId = 0;
  uint32_t presentVersion = 0;  // 0x00MMmmPP
  uint32_t newVersion = 0;      // 0x00MMmmPP
  platform::LocalTime time;
  std::string settingsFile;  // the settings saved before the update, if any
};

// "%07x\t0x%04x\t%i.%i.%i\t%i.%i.%i\t%02i.%02i.%04i\t%02i:%02i:%02i", then
// a tab and the settings file's name when there is one, then "\n".
std::string logLine(const LogEntry& entry);

// Appends the line to FirmwareLog.log in `folder`; false when the folder does
// not exist or the file cannot be written (neither is reported to the user).
bool appendLogLine(const std::string& folder, const LogEntry& entry);

// The type id of the last line whose serial number reads as `serial`
// (decimal digits, as printed on the module).
std::optional<uint16_t> findTypeForSerial(const std::string& logText, uint32_t serial);
std::optional<uint16_t> findTypeForSerialInFolder(const std::string& folder, uint32_t serial);

}  // namespace firmware
