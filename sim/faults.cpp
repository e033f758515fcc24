#include "sim/faults.h"

#include <algorithm>

namespace sim {

void applyByteFaults(std::vector<uint8_t>& bytes, int frame, const std::vector<ByteFault>& drop,
                     const std::vector<ByteFault>& corrupt) {
  for (const ByteFault& c : corrupt) {
    if (c.frame == frame && c.byteIndex >= 0 && c.byteIndex < static_cast<int>(bytes.size())) {
      bytes[c.byteIndex] ^= kCorruptMask;
    }
  }
  // Drop from the back so that the indices still name the original bytes.
  std::vector<int> gone;
  for (const ByteFault& d : drop) {
    if (d.frame == frame && d.byteIndex >= 0 && d.byteIndex < static_cast<int>(bytes.size())) {
      gone.push_back(d.byteIndex);
    }
  }
  std::sort(gone.rbegin(), gone.rend());
  gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
  for (int i : gone) bytes.erase(bytes.begin() + i);
}

bool wrongEchoFor(const Faults& faults, int frame) {
  return std::any_of(faults.wrongEcho.begin(), faults.wrongEcho.end(),
                     [frame](int n) { return n == 0 || n == frame; });
}

}  // namespace sim
