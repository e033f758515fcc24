#pragma once

#include <string>
#include <string_view>

namespace platform {

// Windows code page 1252, the 8-bit text of the files shared with the Windows
// program. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 control characters of the same number, as
// Windows itself does, so every byte survives a round trip.

// Characters the code page lacks, and malformed UTF-8, become '?'.
std::string utf8ToCp1252(std::string_view utf8);
std::string cp1252ToUtf8(std::string_view bytes);

}  // namespace platform
