#pragma once

#include <cstdint>
#include <vector>

namespace sim {

// Frames are counted from 1 in the order the PC sends them; bytes within a
// frame from 0.
struct ByteFault {
  int frame = 0;
  int byteIndex = 0;
};

// Bytes the bus sends towards the PC unasked: after the reply to frame
// `afterFrame` (when > 0), else once the bus clock reaches `atMs`.
struct Injection {
  int afterFrame = 0;
  int64_t atMs = 0;
  std::vector<uint8_t> bytes;
};

// A module (or every module, address 0) that falls silent once frame
// `afterFrame` has been answered.
struct SilentAfter {
  int afterFrame = 0;
  uint8_t address = 0;
};

// Misbehaviour of the adapter, the modules and the line, for tests of the
// link's error paths.
struct Faults {
  std::vector<ByteFault> dropReply;
  std::vector<ByteFault> corruptReply;
  std::vector<ByteFault> dropEcho;
  std::vector<ByteFault> corruptEcho;
  bool noEcho = false;
  // Echo a different but valid frame for these frame numbers (0 = every frame).
  std::vector<int> wrongEcho;
  // Another device streams ';' frames without a gap, so the line is never idle.
  bool foreignStream = false;
  std::vector<SilentAfter> silentAfter;
  std::vector<Injection> injections;
};

// Corruption flips the lowest bit, so that a corrupted frame always fails its check.
constexpr uint8_t kCorruptMask = 0x01;

// Applies the drop and corrupt faults for frame `frame` to `bytes`.
void applyByteFaults(std::vector<uint8_t>& bytes, int frame, const std::vector<ByteFault>& drop,
                     const std::vector<ByteFault>& corrupt);

bool wrongEchoFor(const Faults& faults, int frame);

}  // namespace sim
