#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace buslink {

// What the bootloader link programs: one section of a firmware file, loaded
// by the firmware file's functions, and the index of the file's sections.
// Data only, so that the link needs nothing of the file code.
constexpr uint32_t kBootImageBytes = 131072;
constexpr int kMaxBootSections = 50;

struct BootImage {
  BootImage() { sectionOffsets.fill(-1); }

  // The loaded section from its first byte; offsets in the file's section
  // header are offsets into this.
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kBootImageBytes, 0);

  uint16_t fileFormat = 0;    // format word of the file's first section
  uint16_t selectedType = 0;  // type id whose section was asked for
  uint32_t fileVersion = 0;   // 0x00MMmmPP of the loaded section, 0 for the older formats
  uint8_t family = 0;         // bus address of the file's modules, 0 = none given
  uint32_t sectionLength = 0;
  int32_t progressSteps = 0;  // 16-byte chunks of the loaded section's program data
  std::string filePath;

  // Section i starts at sectionOffsets[i]; the entry after the last holds -1.
  std::array<int64_t, kMaxBootSections + 1> sectionOffsets;
  std::array<uint16_t, kMaxBootSections> sectionTypes{};
  std::array<uint32_t, kMaxBootSections> sectionVersions{};
  // The sections' bootloader baud rates, each once, in order of first
  // appearance, ended by 0.
  std::array<uint16_t, kMaxBootSections + 1> baudRates{};
};

}  // namespace buslink
