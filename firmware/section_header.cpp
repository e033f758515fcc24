#include "firmware/section_header.h"

namespace firmware {

bool isSingleFormat(uint16_t format) {
  return format == kFormatSingle || format == kFormatSingleB;
}

size_t headerBytes(uint16_t format) {
  return isSingleFormat(format) ? kSingleDataOffset : kSectionsHeaderBytes;
}

uint16_t be16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

uint32_t be32(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint32_t>(be16(bytes, at)) << 16 | be16(bytes, at + 2);
}

uint8_t familyOfDeviceId(uint16_t deviceId) {
  switch (deviceId) {
    case 0xAD07:
      return 0xE0;  // ignition
    case 0xAD85:
      return 0xC0;
    default:
      return 0;
  }
}

uint32_t sectionChecksum(std::span<const uint8_t> bytes, uint32_t length) {
  uint8_t sums[4] = {};
  for (size_t group = kLengthAt; group < length; group += 4) {
    for (size_t j = 0; j < 4; ++j) {
      const uint8_t b = group + j < bytes.size() ? bytes[group + j] : 0;
      sums[j] = static_cast<uint8_t>(sums[j] + b);
    }
  }
  return be32(sums, 0);
}

bool recordsFit(std::span<const uint8_t> section, uint32_t dataOffset) {
  const size_t length = section.size();
  size_t at = dataOffset;
  while (at < length) {
    if (length - at < kRecordHeaderBytes) return false;
    const uint32_t n = be32(section, at + 4);
    if (n % kChunkBytes != 0 || n > length - at - kRecordHeaderBytes) return false;
    at += kRecordHeaderBytes + n;
  }
  return at == length;
}

}  // namespace firmware
