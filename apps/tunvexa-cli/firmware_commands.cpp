#include "firmware_commands.h"

#include <cstdio>
#include <memory>
#include <ostream>

#include "firmware/firmware_file.h"
#include "firmware/section_header.h"
#include "firmware_update_command.h"
#include "texts/firmware_text_ids.h"
#include "texts/text_ids.h"
#include "texts/text_table.h"

namespace cli {

namespace {

std::string hex(uint32_t value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", width, value);
  return buf;
}

// One line per section, loaded as the update would load it; the first
// failure is handed back.
int32_t describeSection(buslink::BootImage& image, int i, std::ostream& out) {
  const int32_t status = firmware::loadSection(image, i);
  const std::span<const uint8_t> bytes(image.bytes);
  out << "section " << i << ": type ";
  if (image.fileFormat == firmware::kFormatSections) {
    char version[16];
    std::snprintf(version, sizeof version, "%u.%u.%u", bytes[firmware::kVersionAt],
                  bytes[firmware::kVersionAt + 1], bytes[firmware::kVersionAt + 2]);
    out << hex(image.sectionTypes[i], 4) << " version " << version;
  } else {
    out << "- version -";
  }
  out << " baud " << firmware::be16(bytes, firmware::kBaudRateAt) << " length "
      << firmware::be32(bytes, firmware::kLengthAt) << " checksum ";
  // The checksum is checked after the header and before the records and
  // the rate.
  if (status == 0 || status == texts::kTextInvalidBaudRate) {
    out << "ok";
  } else if (status == texts::kTextFileChecksumWrong) {
    out << "wrong";
  } else {
    out << "-";
  }
  out << "\n";
  return status;
}

int32_t firmwareInfo(const std::string& path, std::ostream& out) {
  auto image = std::make_unique<buslink::BootImage>();
  const int32_t loaded = firmware::loadFirmwareFile(*image, path);
  if (loaded == texts::kTextCannotOpenFile || loaded == texts::kTextWrongFileVersion) {
    return loaded;
  }
  out << "format " << hex(image->fileFormat, 4) << "\n"
      << "family " << hex(image->family, 2) << "\n"
      << "image kind " << firmware::imageKind(*image) << "\n";
  int32_t first = loaded;
  for (int i = 0; i < firmware::sectionCount(*image); ++i) {
    const int32_t status = describeSection(*image, i, out);
    if (first == 0) first = status;
  }
  return first;
}

}  // namespace

int32_t runFirmwareCommand(buslink::ModuleLink& link, const std::vector<std::string>& args,
                           std::ostream& out, std::ostream& err) {
  if (!args.empty() && args[0] == "update") {
    return runFirmwareUpdate(link, {args.begin() + 1, args.end()}, out, err);
  }
  if (args.empty() || args[0] != "info") {
    err << "tunvexa-cli: firmware needs info FILE or update FILE\n";
    return -1;
  }
  if (args.size() != 2) {
    err << "tunvexa-cli: firmware info needs one FILE\n";
    return -1;
  }
  return firmwareInfo(args[1], out);
}

}  // namespace cli
