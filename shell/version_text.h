#pragma once

#include <cstdint>
#include <string>

namespace shell {

// A module's version word: bits 8-11 major, bits 0-7 minor, bits 12-15
// patch. "V 3.1" without a patch, else "V 3.5.2".
std::string versionText(uint32_t versionWord);

// 1 when `version` is older than `reference`: major and minor (bits 0-11)
// first, then the patch; else 0.
int32_t isVersionOlder(uint32_t reference, uint32_t version);

}  // namespace shell
