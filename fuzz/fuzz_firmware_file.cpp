// Firmware files (firmware/firmware_file.h): the fuzz input is a ".blf" file.
// Checked: loading the file, every section of its index and every type id
// found gives only the codes the file's functions name, the index stays in
// its bounds, and a loaded section fits the image.
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "firmware/firmware_file.h"
#include "fuzz/fuzz_support.h"
#include "texts/firmware_text_ids.h"
#include "texts/text_ids.h"

using fuzz_support::inFolder;

namespace {

bool isLoadStatus(int32_t s) {
  return s == 0 || s == texts::kTextCannotOpenFile || s == texts::kTextWrongFileVersion ||
         s == texts::kTextFileHeaderError || s == texts::kTextFileChecksumWrong ||
         s == texts::kTextInvalidBaudRate || s == texts::kTextSeveralFamilies;
}

bool isSectionStatus(int32_t s) {
  return s == 0 || s == texts::kTextFirmwareFileLength || s == texts::kTextFileHeaderError ||
         s == texts::kTextFileChecksumWrong || s == texts::kTextInvalidBaudRate;
}

void checkLoaded(const buslink::BootImage& image, size_t fileSize) {
  FUZZ_CHECK(image.sectionLength <= fileSize, "a loaded section is longer than the file");
  FUZZ_CHECK(image.sectionLength <= buslink::kBootImageBytes, "a section beyond the image");
  FUZZ_CHECK(
      image.progressSteps >= 0 && image.progressSteps <= int32_t(buslink::kBootImageBytes / 16),
      "progress steps out of range " + std::to_string(image.progressSteps));
  const int32_t rate = (image.bytes[28] << 8) | image.bytes[29];
  FUZZ_CHECK(firmware::isBootloaderBaudRate(rate), "a section with a rate no bootloader speaks");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::isolateUserFolders();
  fuzz_support::freshFolder(inFolder("firmware"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = inFolder("firmware/input.blf");
  fuzz_support::writeFile(path, fuzz_support::asText(data, size));

  static auto image = std::make_unique<buslink::BootImage>();
  const int32_t status = firmware::loadFirmwareFile(*image, path);
  FUZZ_CHECK(isLoadStatus(status), "unexpected load status " + std::to_string(status));
  if (status == texts::kTextWrongFileVersion) return 0;

  const int count = firmware::sectionCount(*image);
  FUZZ_CHECK(count >= 1 && count <= buslink::kMaxBootSections,
             "index size " + std::to_string(count));
  std::set<uint16_t> types;
  int64_t previous = -1;
  for (int i = 0; i < count; ++i) {
    FUZZ_CHECK(image->sectionOffsets[i] > previous, "section offsets do not grow");
    FUZZ_CHECK(image->sectionOffsets[i] < int64_t(size) || size == 0,
               "a section starts beyond the file");
    previous = image->sectionOffsets[i];
    types.insert(image->sectionTypes[i]);
    const int32_t s = firmware::loadSection(*image, i);
    FUZZ_CHECK(isSectionStatus(s), "unexpected section status " + std::to_string(s));
    if (s == 0) checkLoaded(*image, size);
  }
  const int kind = firmware::imageKind(*image);
  FUZZ_CHECK(kind >= 0 && kind <= 2, "image kind " + std::to_string(kind));

  for (uint16_t type : types) {
    const int32_t s = firmware::selectSectionForType(*image, type);
    FUZZ_CHECK(isSectionStatus(s), "unexpected select status " + std::to_string(s));
    FUZZ_CHECK(image->selectedType == type, "selected type not kept");
    if (s == 0) checkLoaded(*image, size);
  }
  // A type that no section has is told, never loaded from somewhere else.
  for (uint32_t t = 0; t <= 0xFFFF; t += 0x1111) {
    if (types.count(static_cast<uint16_t>(t)) != 0) continue;
    const int32_t s = firmware::selectSectionForType(*image, static_cast<uint16_t>(t));
    FUZZ_CHECK(s == texts::kTextNoFirmwareForModule,
               "a missing type was found " + std::to_string(s));
  }
  return 0;
}
