#include "modules/loggers/serial_logger.h"

#include "modules/loggers/logger_clock.h"
#include "shell/version_text.h"
#include "texts/logger_text_ids.h"
#include "texts/text_ids.h"

namespace loggers {

namespace {

constexpr int32_t kClock = 16000000;

int32_t identify(buslink::ModuleLink& link, std::string& versionText) {
  int32_t e = link.selectModule(kSerialLoggerAddress);
  uint16_t version = 0;
  if (e == 0) e = link.readFirmwareVersion(version);
  if (e != 0) return e;
  versionText = shell::versionText(version);
  if (shell::isVersionOlder(kSerialLoggerMinVersion, version)) return texts::kTextFirmwareTooOld;
  return 0;
}

bool isDso(SerialMode m) {
  return m == SerialMode::Dso;
}

}  // namespace

std::string rateText(int index, bool dso) {
  if (!dso) return std::to_string(kBaudRates[index]) + " Baud";
  const int32_t r = kSampleRates[index];
  return r < 1000 ? std::to_string(r) + " Hz" : std::to_string(r / 1000) + " kHz";
}

int32_t rateFromDivisor(uint16_t d, bool dso) {
  return dso ? kClock / (d * 4 + 4) : kClock / ((d + 1) * 16);
}

int32_t divisorForRate(int32_t rate, bool dso) {
  const int32_t t = dso ? rate * 4 : rate * 16;
  return ((160000000 / t) + 5) / 10 - 1;
}

int rateIndexFor(int32_t rate, bool dso) {
  const auto& table = dso ? kSampleRates : kBaudRates;
  for (size_t i = 0; i < table.size(); ++i) {
    const int64_t r = table[i];
    const int64_t x = static_cast<int64_t>(rate) * 100;
    if (r * 95 < x && x < r * 105) return static_cast<int>(i);
  }
  return dso ? kIndex10kHz : kIndex19200;
}

uint8_t modeOptions(SerialMode mode) {
  switch (mode) {
    case SerialMode::Selective:
    case SerialMode::Zor:
      return 16;
    case SerialMode::Dso:
      return 8;
    case SerialMode::Standard:
      break;
  }
  return 0;
}

SerialMode modeFromByte(uint8_t b) {
  switch (b) {
    case 1:
      return SerialMode::Selective;
    case 2:
      return SerialMode::Dso;
    case 16:
      return SerialMode::Zor;
    default:
      return SerialMode::Standard;
  }
}

void switchMode(SerialLoggerSettings& s, SerialMode mode) {
  s.mode = mode;
  s.rateIndex = isDso(mode) ? kIndex10kHz : kIndex19200;
  if (mode == SerialMode::Zor) {
    s.rateIndex = kIndex9600;
    s.identifier = 59;
    s.mask = 255;
    s.byteCount = 4;
    s.crc = 90;
  }
}

int32_t readSerialLogger(buslink::ModuleLink& link, SerialLoggerSettings& s,
                         std::string& versionText) {
  if (const int32_t e = identify(link, versionText); e != 0) return e;
  uint8_t mode = 0;
  uint16_t d = 0;
  uint8_t fields[4] = {};
  bool ok = link.readByte(3, mode) == 0;
  if (ok) switchMode(s, modeFromByte(mode));
  ok = ok && link.readWord(1, d) == 0;
  if (ok) s.rateIndex = rateIndexFor(rateFromDivisor(d, isDso(s.mode)), isDso(s.mode));
  for (uint8_t i = 0; i < 4 && ok; ++i) ok = link.readByte(16 + i, fields[i]) == 0;
  if (!ok) return texts::kTextReadFailed;
  s.identifier = fields[0];
  s.mask = fields[1];
  s.byteCount = fields[2];
  s.crc = fields[3];
  return texts::kTextLoggerReadOk;
}

int32_t writeSerialLogger(buslink::ModuleLink& link, const SerialLoggerSettings& s,
                          const platform::LocalTime& now, std::string& versionText) {
  const bool dso = isDso(s.mode);
  const int32_t d = divisorForRate((dso ? kSampleRates : kBaudRates)[s.rateIndex], dso);
  // 20 Hz and 50 Hz need a divisor beyond 16 bits; cut, it would set another rate.
  if (d < 0 || d > 0xFFFF) return texts::kTextParameterOutOfRange;
  if (const int32_t e = identify(link, versionText); e != 0) return e;
  if (link.writeByte(3, static_cast<uint8_t>(s.mode)) != 0) return texts::kTextWriteFailed;
  link.writeByte(6, modeOptions(s.mode));
  if (link.writeWord(1, static_cast<uint32_t>(d)) != 0) return texts::kTextWriteFailed;
  const int32_t fields[] = {s.identifier, s.mask, s.byteCount, s.crc};
  for (uint8_t i = 0; i < 4; ++i) {
    if (link.writeByte(16 + i, static_cast<uint32_t>(fields[i]) & 0xFF) != 0) {
      return texts::kTextWriteFailed;
    }
  }
  writeClockRegisters(link, now);
  return texts::kTextLoggerWriteOk;
}

}  // namespace loggers
