#include "shell/image_end.h"

#include <sys/types.h>

#include <algorithm>

namespace shell {

namespace {

constexpr int64_t kBlock = 512;

bool blockInUse(std::FILE* file, int64_t offset) {
  unsigned char block[kBlock];
  if (::fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
  if (std::fread(block, 1, sizeof block, file) != sizeof block) return false;
  return !std::all_of(block, block + 7, [](unsigned char b) { return b == 0xFF; });
}

}  // namespace

uint32_t findImageEnd(std::FILE* file) {
  if (::fseeko(file, 0, SEEK_END) != 0) return 0;
  const int64_t size = ::ftello(file);
  if (size < 0) return 0;
  int64_t position = size / 2;
  int64_t step = size / 2;
  int64_t lastUsed = -1;
  // The step halves down to whole blocks; once it has fallen to nothing the
  // search takes single-block steps for three more probes, which settles it
  // on the boundary.
  int passes = 0;
  while (passes < 3) {
    step = (step / 1024) * kBlock;
    const int64_t block = position / kBlock * kBlock;
    if (step == 0) {
      ++passes;
      step = kBlock;
    }
    if (blockInUse(file, block)) {
      lastUsed = block;
      position = std::min(block + step, size - kBlock);
    } else {
      position = std::max<int64_t>(block - step, 0);
    }
  }
  // The halving rounds down to whole blocks, so on an image whose size is not
  // a power of two the search can stop up to a few blocks short of the end,
  // or miss a lone first block. Blocks in use right after the end found are
  // recorded data too: take them. (On the loggers' own power-of-two images
  // the search is exact and this reads one more block.)
  int64_t end = lastUsed < 0 ? 0 : lastUsed + kBlock;
  while (blockInUse(file, end)) end += kBlock;
  if (end == 0) return 0;
  std::rewind(file);
  return static_cast<uint32_t>(end);
}

}  // namespace shell
