#include "shell/version_text.h"

namespace shell {

std::string versionText(uint32_t versionWord) {
  const uint32_t major = (versionWord >> 8) & 0x0F;
  const uint32_t minor = versionWord & 0xFF;
  const uint32_t patch = (versionWord >> 12) & 0x0F;
  // Appended piece by piece: "literal" + std::string inserts at the front,
  // which GCC 12 at -O3 misreads as an overlapping copy (-Wrestrict).
  std::string text = "V ";
  text += std::to_string(major);
  text += '.';
  text += std::to_string(minor);
  if (patch != 0) {
    text += '.';
    text += std::to_string(patch);
  }
  return text;
}

int32_t isVersionOlder(uint32_t reference, uint32_t version) {
  const uint32_t versionRelease = version & 0x0FFF;
  const uint32_t referenceRelease = reference & 0x0FFF;
  if (versionRelease != referenceRelease) return versionRelease < referenceRelease ? 1 : 0;
  return ((version >> 12) & 0x0F) < ((reference >> 12) & 0x0F) ? 1 : 0;
}

}  // namespace shell
