#include "firmware/firmware_file.h"
#include "firmware/section_header.h"
#include "texts/firmware_text_ids.h"

namespace firmware {

int sectionCount(const buslink::BootImage& image) {
  int n = 0;
  while (n < buslink::kMaxBootSections && image.sectionOffsets[n] >= 0) ++n;
  return n;
}

int imageKind(const buslink::BootImage& image) {
  if (image.family == 0) return 0;
  return image.fileFormat < kFormatSections ? 1 : 2;
}

uint32_t fileVersion(const buslink::BootImage& image) {
  return image.fileVersion;
}

int32_t selectSectionForType(buslink::BootImage& image, uint16_t type, BootPort* port) {
  image.selectedType = type;
  for (int i = 0; i < buslink::kMaxBootSections; ++i) {
    if (image.sectionOffsets[i] < 0) break;
    if (image.sectionTypes[i] == type) return loadSection(image, i, port);
  }
  return texts::kTextNoFirmwareForModule;
}

}  // namespace firmware
