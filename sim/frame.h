#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace sim {

// One 4-byte bus frame: {address | command, parameter 1, parameter 2, check}.
using Frame = std::array<uint8_t, 4>;

constexpr uint8_t kCheckSeed = 0x5A;
constexpr uint8_t kStreamStart = 0x3B;  // ';' starts a frame a module sends unasked
constexpr uint8_t kErrorCommand = 15;
constexpr uint8_t kErrorUnknownCommand = 1;
constexpr uint8_t kErrorEngineRunning = 3;

uint8_t checkByte(uint8_t b0, uint8_t b1, uint8_t b2);
Frame makeFrame(uint8_t b0, uint8_t b1, uint8_t b2);
bool isValidFrame(const Frame& frame);

inline uint8_t frameAddress(const Frame& f) {
  return f[0] & 0xF0;
}
inline uint8_t frameCommand(const Frame& f) {
  return f[0] & 0x0F;
}

// Reply to `request` from the module at `address` with the request's command nibble.
Frame replyFrame(uint8_t address, const Frame& request, uint8_t b1, uint8_t b2);
Frame errorFrame(uint8_t address, uint8_t errorClass);

// Collects the PC's bytes into frames the way a module listens: four bytes
// that pass the check form a frame; four that fail lose their first byte, so
// the listener falls back into step after a lost or extra byte.
class FrameAssembler {
 public:
  struct Result {
    std::optional<Frame> frame;
    std::optional<uint8_t> discarded;  // byte dropped to re-synchronise
  };

  Result push(uint8_t byte);
  // Bytes collected towards the next frame (0-3).
  size_t pending() const { return buffer_.size(); }
  void clear() { buffer_.clear(); }

 private:
  std::vector<uint8_t> buffer_;
};

}  // namespace sim
