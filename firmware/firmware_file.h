#pragma once

#include <cstdint>
#include <string>

#include "link/boot_image.h"

namespace firmware {

// What loading a section asks of the bootloader link's port.
class BootPort {
 public:
  virtual ~BootPort() = default;
  // 0 when the port takes the rate, anything else when it refuses it.
  virtual int32_t setBaudRate(int32_t rate) = 0;
  virtual void discardInput() = 0;
};

// The rates a bootloader speaks; with no port these are the ones a section
// may ask for.
bool isBootloaderBaudRate(int32_t rate);

// Every function returns 0 or a text ID. A port of nullptr stands for a
// closed one: the section's rate is only checked.

// Remembers the path, reads the file and builds the section index; loads
// section 0 unless the file holds sections for several module types.
int32_t loadFirmwareFile(buslink::BootImage& image, const std::string& path,
                         BootPort* port = nullptr);
// Reads section `section` of the index into the image and checks it.
int32_t loadSection(buslink::BootImage& image, int section, BootPort* port = nullptr);
// Loads the first section for module type `type`.
int32_t selectSectionForType(buslink::BootImage& image, uint16_t type, BootPort* port = nullptr);

// 0: only the passive update; 1: older format with a family; 2: a section
// per module type.
int imageKind(const buslink::BootImage& image);
uint32_t fileVersion(const buslink::BootImage& image);

// Sections in the index.
int sectionCount(const buslink::BootImage& image);

}  // namespace firmware
