#include "modules/loggers/lambda_display.h"

#include "shell/version_text.h"
#include "texts/logger_text_ids.h"
#include "texts/text_ids.h"

namespace loggers {

namespace {

int32_t identify(buslink::ModuleLink& link, std::string& versionText) {
  int32_t e = link.selectModule(kLambdaDisplayAddress);
  uint16_t version = 0;
  if (e == 0) e = link.readFirmwareVersion(version);
  if (e == 0) versionText = shell::versionText(version);
  return e;
}

}  // namespace

int32_t readBrightness(buslink::ModuleLink& link, Brightness& b, std::string& versionText) {
  if (const int32_t e = identify(link, versionText); e != 0) return e;
  uint8_t day = 0, night = 0;
  if (link.readByte(2, day) != 0 || link.readByte(1, night) != 0) return texts::kTextReadFailed;
  b.day = day;
  b.night = night;
  return texts::kTextLoggerReadOk;
}

int32_t writeBrightness(buslink::ModuleLink& link, const Brightness& b, std::string& versionText) {
  if (b.day < 0 || b.day > 255 || b.night < 0 || b.night > 255) {
    return texts::kTextParameterOutOfRange;
  }
  if (const int32_t e = identify(link, versionText); e != 0) return e;
  if (link.writeByte(2, static_cast<uint32_t>(b.day)) != 0 ||
      link.writeByte(1, static_cast<uint32_t>(b.night)) != 0 || link.restartModule() != 0) {
    return texts::kTextWriteFailed;
  }
  return texts::kTextLoggerWriteOk;
}

}  // namespace loggers
