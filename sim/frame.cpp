#include "sim/frame.h"

namespace sim {

uint8_t checkByte(uint8_t b0, uint8_t b1, uint8_t b2) {
  return kCheckSeed ^ b0 ^ b1 ^ b2;
}

Frame makeFrame(uint8_t b0, uint8_t b1, uint8_t b2) {
  return {b0, b1, b2, checkByte(b0, b1, b2)};
}

bool isValidFrame(const Frame& f) {
  return (f[0] ^ f[1] ^ f[2] ^ f[3]) == kCheckSeed;
}

Frame replyFrame(uint8_t address, const Frame& request, uint8_t b1, uint8_t b2) {
  return makeFrame(static_cast<uint8_t>(address | frameCommand(request)), b1, b2);
}

Frame errorFrame(uint8_t address, uint8_t errorClass) {
  return makeFrame(static_cast<uint8_t>(address | kErrorCommand), errorClass, 0);
}

FrameAssembler::Result FrameAssembler::push(uint8_t byte) {
  buffer_.push_back(byte);
  Result result;
  if (buffer_.size() < 4) return result;
  Frame f{buffer_[0], buffer_[1], buffer_[2], buffer_[3]};
  if (isValidFrame(f)) {
    buffer_.clear();
    result.frame = f;
  } else {
    result.discarded = buffer_.front();
    buffer_.erase(buffer_.begin());
  }
  return result;
}

}  // namespace sim
