#include <array>
#include <span>

#include "firmware/file_reader.h"
#include "firmware/firmware_file.h"
#include "firmware/section_header.h"
#include "texts/firmware_text_ids.h"
#include "texts/text_ids.h"

namespace firmware {

namespace {

// The part of a further section's start that the index needs.
constexpr size_t kSectionProbeBytes = 128;

void clearIndex(buslink::BootImage& image, const std::string& path) {
  image.sectionOffsets.fill(-1);
  image.sectionOffsets[0] = 0;
  image.sectionTypes.fill(0);
  image.sectionVersions.fill(0);
  image.baudRates.fill(0);
  image.filePath = path;
  image.fileFormat = 0;
  image.family = 0;
  image.fileVersion = 0;
  image.sectionLength = 0;
  image.progressSteps = 0;
}

// Rate 0 would end the list; no bootloader speaks it anyway.
void addBaudRate(buslink::BootImage& image, uint16_t rate) {
  if (rate == 0) return;
  for (uint16_t& slot : image.baudRates) {
    if (slot == rate) return;
    if (slot == 0) {
      slot = rate;
      return;
    }
  }
}

void indexSection(buslink::BootImage& image, int i, int64_t offset,
                  std::span<const uint8_t> header) {
  image.sectionOffsets[i] = offset;
  image.sectionOffsets[i + 1] = -1;
  image.sectionTypes[i] = be16(header, kTypeIdAt);
  image.sectionVersions[i] = be32(header, kVersionAt);
  addBaudRate(image, be16(header, kBaudRateAt));
}

// Indexes the sections after the first; 0, 9003 or, for a section too short
// to hold its own header, 8091: the chain cannot go on from it and every
// section behind it would be lost without a word.
int32_t walkSections(buslink::BootImage& image, FileReader& file) {
  uint32_t length = be32(image.bytes, kLengthAt);
  if (length < kSectionsHeaderBytes) return texts::kTextFileHeaderError;
  int32_t result = 0;
  int64_t offset = length;
  std::array<uint8_t, kSectionProbeBytes> probe{};
  for (int i = 1; i < buslink::kMaxBootSections; ++i) {
    if (!file.seek(offset)) break;
    const size_t got = file.read(probe.data(), probe.size());
    // A tail too short for a header is no section (padding, say); a section
    // that is cut short is told when it is loaded.
    if (got < kSectionsHeaderBytes) break;
    if (probe[kFamilyAt] != image.family) result = texts::kTextSeveralFamilies;
    indexSection(image, i, offset, probe);
    length = be32(probe, kLengthAt);
    if (length < kSectionsHeaderBytes) return texts::kTextFileHeaderError;
    offset += length;
  }
  return result;
}

}  // namespace

int32_t loadFirmwareFile(buslink::BootImage& image, const std::string& path, BootPort* port) {
  clearIndex(image, path);
  FileReader file(path);
  if (!file.isOpen()) return texts::kTextCannotOpenFile;
  image.bytes.assign(buslink::kBootImageBytes, 0);
  file.read(image.bytes.data(), image.bytes.size());
  const std::span<const uint8_t> bytes(image.bytes);

  image.fileFormat = be16(bytes, kFormatAt);
  if (isSingleFormat(image.fileFormat)) {
    if (be16(bytes, kDataOffsetAt) != kSingleDataOffset) return texts::kTextFileHeaderError;
    image.family = familyOfDeviceId(be16(bytes, kDeviceIdAt));
    return loadSection(image, 0, port);
  }
  if (image.fileFormat != kFormatSections) return texts::kTextWrongFileVersion;

  image.family = bytes[kFamilyAt];
  indexSection(image, 0, 0, bytes);
  if (image.family == 0) return loadSection(image, 0, port);
  return walkSections(image, file);
}

}  // namespace firmware
