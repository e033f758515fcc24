#pragma once

#include <cstdint>
#include <cstdio>

namespace shell {

// The end of the recorded data in a logger's memory image: the number of
// bytes in use (a multiple of 512), or 0 when no block is in use. A 512-byte
// block is in use when it can be read whole and its first 7 bytes are not
// all 0xFF (erased memory). The loggers fill their memory from the start
// without gaps, so a binary search finds the end. The file is rewound when
// data was found.
uint32_t findImageEnd(std::FILE* file);

}  // namespace shell
