#include <span>

#include "firmware/file_reader.h"
#include "firmware/firmware_file.h"
#include "firmware/section_header.h"
#include "texts/firmware_text_ids.h"

namespace firmware {

bool isBootloaderBaudRate(int32_t rate) {
  return rate == 4800 || rate == 9600 || rate == 19200;
}

int32_t loadSection(buslink::BootImage& image, int section, BootPort* port) {
  image.progressSteps = 0;
  if (section < 0 || section >= buslink::kMaxBootSections || image.sectionOffsets[section] < 0) {
    return texts::kTextFirmwareFileLength;
  }
  image.bytes.assign(buslink::kBootImageBytes, 0);
  FileReader file(image.filePath);
  if (!file.isOpen() || !file.seek(image.sectionOffsets[section])) {
    return texts::kTextFirmwareFileLength;
  }
  const size_t got = file.read(image.bytes.data(), image.bytes.size());
  const std::span<const uint8_t> bytes(image.bytes);

  // A section must hold at least its header: a shorter one (length 0
  // included) has nothing to check or program, and the chain of sections
  // cannot go on from it.
  const uint32_t length = be32(bytes, kLengthAt);
  const size_t header = headerBytes(image.fileFormat);
  image.sectionLength = length;
  if (got < header || length < header || length > got) return texts::kTextFileHeaderError;
  const uint16_t dataOffset = be16(bytes, kDataOffsetAt);
  const bool offsetFits =
      isSingleFormat(image.fileFormat) ? dataOffset == kSingleDataOffset : dataOffset >= header;
  if (!offsetFits || dataOffset > length) return texts::kTextFileHeaderError;

  image.fileVersion = image.fileFormat == kFormatSections ? be32(bytes, kVersionAt) >> 8 : 0;
  if (sectionChecksum(bytes, length) != be32(bytes, kChecksumAt)) {
    return texts::kTextFileChecksumWrong;
  }
  // The programming walks these records chunk by chunk; one that does not
  // end on a chunk or runs past the section would send bytes from beyond it.
  if (!recordsFit(bytes.first(length), dataOffset)) return texts::kTextFileHeaderError;

  const int32_t rate = be16(bytes, kBaudRateAt);
  if (!isBootloaderBaudRate(rate) || (port != nullptr && port->setBaudRate(rate) != 0)) {
    return texts::kTextInvalidBaudRate;
  }

  image.progressSteps = static_cast<int32_t>((length - kSingleDataOffset) / kChunkBytes);
  if (port != nullptr) port->discardInput();
  return 0;
}

}  // namespace firmware
