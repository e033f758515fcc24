#include "modules/loggers/logger_clock.h"

#include "shell/version_text.h"
#include "texts/logger_text_ids.h"

namespace loggers {

int32_t writeClockRegisters(buslink::ModuleLink& link, const platform::LocalTime& t) {
  const std::pair<uint8_t, int32_t> registers[] = {{8, t.year}, {7, t.month},  {5, t.day},
                                                   {4, t.hour}, {3, t.minute}, {2, t.second}};
  for (const auto& [reg, value] : registers) {
    if (const int32_t e = link.writeClockRegister(reg, value); e != 0) return e;
  }
  return 0;
}

int32_t setCarLoggerClock(buslink::ModuleLink& link, const platform::LocalTime& t,
                          RecordingOptions options, std::string& versionText) {
  int32_t e = link.selectModule(kCarLoggerAddress);
  uint16_t version = 0;
  if (e == 0) e = link.readFirmwareVersion(version);
  if (e != 0) return e;
  versionText = shell::versionText(version);
  if (writeClockRegisters(link, t) != 0) return 0;
  e = link.writeByte(kOptionsAddress, options.byte());
  return e != 0 ? e : texts::kTextClockSet;
}

}  // namespace loggers
