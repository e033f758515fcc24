#include "sim/bootloader_model.h"

#include <algorithm>

namespace sim {

namespace {

constexpr uint8_t kSeed = 0x55;
constexpr uint8_t kAnnounce = 0x55;
constexpr uint8_t kBootCmdVersion = 0xF1;
constexpr uint8_t kBootCmdDeviceId = 0xF2;
constexpr uint8_t kBootCmdEnable = 0xF3;
constexpr uint8_t kBootCmdFirmwareNumber = 0xF4;
constexpr uint8_t kBootCmdRunningNumber = 0xF5;
constexpr uint8_t kBootCmdWriteChunk = 0xF7;
constexpr uint8_t kBootCmdErase = 0xF8;
constexpr int kChunkBytes = 16;
// A frame whose bytes stop coming for this long is given up, so that the
// next frame starts clean after a lost byte.
constexpr int64_t kFrameGapUs = 20000;
// The simple bootloaders write each chunk at once; the others collect a
// write block and need the flash erased first.
constexpr uint16_t kLastSimpleVersion = 5;
constexpr uint16_t kLongAddressVersion = 512;

uint8_t check(const std::vector<uint8_t>& bytes) {
  uint8_t c = kSeed;
  for (uint8_t b : bytes) c ^= b;
  return c;
}

bool contains(const std::vector<int>& list, int n) {
  return std::find(list.begin(), list.end(), n) != list.end();
}

}  // namespace

BootloaderModel::BootloaderModel(const BootloaderSetup& setup, ModuleModel& module)
    : flash(setup.flashSize, setup.startsInBootloader ? 0xFF : 0x00),
      firmwareNumber(setup.firmwareNumber),
      setup_(setup),
      module_(module) {
  if (setup.startsInBootloader) start(0);
}

void BootloaderModel::start(int64_t nowUs) {
  ++starts;
  active_ = true;
  contacted_ = false;
  programmingEnabled = false;
  startUs_ = nowUs;
  nextAnnounceUs_ = nowUs + static_cast<int64_t>(setup_.announceMs) * 1000;
  frame_.clear();
  pending_.clear();
  blockAddress_.reset();
}

bool BootloaderModel::firmwareIntact() const {
  const auto end = flash.begin() + setup_.writeBlock;
  return std::any_of(flash.begin(), end, [](uint8_t b) { return b != 0xFF; });
}

void BootloaderModel::startFirmware() {
  active_ = false;
  if (setup_.versionAt) {
    const uint32_t a = *setup_.versionAt;
    module_.firmwareVersion =
        static_cast<uint16_t>((flash[a + 2] & 0x0F) << 12 | (flash[a] & 0x0F) << 8 | flash[a + 1]);
  }
}

std::optional<int64_t> BootloaderModel::nextEventUs() const {
  if (!active_) return std::nullopt;
  std::optional<int64_t> next;
  auto consider = [&next](int64_t t) {
    if (!next || t < *next) next = t;
  };
  if (!pending_.empty()) consider(pending_.front().dueUs);
  if (!contacted_ && !lineDead_) consider(nextAnnounceUs_);
  if (!contacted_ && firmwareIntact())
    consider(startUs_ + static_cast<int64_t>(setup_.bootWaitMs) * 1000);
  return next;
}

void BootloaderModel::advanceTo(int64_t nowUs, std::vector<uint8_t>& out) {
  while (active_) {
    const std::optional<int64_t> t = nextEventUs();
    if (!t || *t > nowUs) return;
    if (!pending_.empty() && pending_.front().dueUs == *t) {
      if (!lineDead_)
        out.insert(out.end(), pending_.front().bytes.begin(), pending_.front().bytes.end());
      pending_.pop_front();
    } else if (!contacted_ && firmwareIntact() &&
               startUs_ + static_cast<int64_t>(setup_.bootWaitMs) * 1000 == *t) {
      startFirmware();
    } else {
      out.push_back(kAnnounce);
      nextAnnounceUs_ += static_cast<int64_t>(setup_.announceMs) * 1000;
    }
  }
}

int BootloaderModel::frameLength(uint8_t command) const {
  const int addressBytes = setup_.version == kLongAddressVersion ? 4 : 3;
  switch (command) {
    case kBootCmdVersion:
    case kBootCmdDeviceId:
    case kBootCmdFirmwareNumber:
      return 2;
    case kBootCmdEnable:
      return 4;
    case kBootCmdRunningNumber:
      return 6;
    case kBootCmdErase:
      return 1 + addressBytes + 1;
    case kBootCmdWriteChunk:
      return 1 + addressBytes + kChunkBytes + 1;
    default:
      return 0;  // the echo test, "nobody answered" and noise: single bytes
  }
}

void BootloaderModel::receive(uint8_t byte, int64_t nowUs) {
  if (!active_ || lineDead_) return;
  contacted_ = true;
  if (!frame_.empty() && nowUs - lastByteUs_ > kFrameGapUs) frame_.clear();
  lastByteUs_ = nowUs;
  if (frame_.empty() && frameLength(byte) == 0) return;
  frame_.push_back(byte);
  if (static_cast<int>(frame_.size()) < frameLength(frame_[0])) return;
  if (check(frame_) == 0) handleFrame(nowUs);
  frame_.clear();
}

uint32_t BootloaderModel::address() const {
  uint32_t a = 0;
  const int n = setup_.version == kLongAddressVersion ? 4 : 3;
  for (int i = 0; i < n; ++i) a = a << 8 | frame_[1 + i];
  return a;
}

void BootloaderModel::reply(std::vector<uint8_t> bytes, int64_t dueUs) {
  bytes.push_back(check(bytes));
  ++repliesSent;
  if (contains(setup_.corruptReply, repliesSent)) bytes.back() ^= 0x01;
  pending_.push_back({dueUs, std::move(bytes)});
}

void BootloaderModel::writeChunk(uint32_t a, const uint8_t* data) {
  if (setup_.version <= kLastSimpleVersion) {
    std::copy(data, data + kChunkBytes, flash.begin() + a);
    return;
  }
  const uint32_t block = a - a % setup_.writeBlock;
  if (blockAddress_ != block) {
    // Chunks of an unfinished block are lost when another block begins.
    blockAddress_ = block;
    blockBuffer_.assign(setup_.writeBlock, 0xFF);
  }
  std::copy(data, data + kChunkBytes, blockBuffer_.begin() + (a - block));
  if ((a + kChunkBytes) % setup_.writeBlock != 0) return;
  // Flash cells only lose bits when written; only an erase sets them again.
  for (uint32_t i = 0; i < setup_.writeBlock; ++i) flash[block + i] &= blockBuffer_[i];
  blockAddress_.reset();
}

void BootloaderModel::handleFrame(int64_t nowUs) {
  const uint8_t command = frame_[0];
  const std::vector<uint8_t> head(frame_.begin(), frame_.end() - 1);
  switch (command) {
    case kBootCmdVersion:
      reply({command, static_cast<uint8_t>(setup_.version >> 8),
             static_cast<uint8_t>(setup_.version)},
            nowUs);
      return;
    case kBootCmdDeviceId: {
      // Bytes 1-4 carry nothing in their low nibbles, 5-8 one id digit each.
      std::vector<uint8_t> r = {command, 0x10, 0x20, 0x30, 0x40};
      for (int shift = 12; shift >= 0; shift -= 4)
        r.push_back(static_cast<uint8_t>(0x30 | ((setup_.deviceId >> shift) & 0x0F)));
      reply(r, nowUs);
      return;
    }
    case kBootCmdEnable:
      programmingEnabled = frame_[1] == 0x12 && frame_[2] == 0x56;
      reply({command, frame_[1], frame_[2]}, nowUs);
      return;
    case kBootCmdFirmwareNumber:
      reply({command, static_cast<uint8_t>(firmwareNumber >> 24),
             static_cast<uint8_t>(firmwareNumber >> 16), static_cast<uint8_t>(firmwareNumber >> 8),
             static_cast<uint8_t>(firmwareNumber)},
            nowUs);
      return;
    case kBootCmdRunningNumber:
      if (!programmingEnabled) return;
      firmwareNumber = static_cast<uint32_t>(frame_[1]) << 24 |
                       static_cast<uint32_t>(frame_[2]) << 16 |
                       static_cast<uint32_t>(frame_[3]) << 8 | frame_[4];
      reply({command}, nowUs);
      return;
    case kBootCmdErase: {
      ++erasesReceived;
      const uint32_t a = address();
      if (!programmingEnabled || a >= flash.size()) return;
      if (contains(setup_.refuseErase, 0) || contains(setup_.refuseErase, erasesReceived)) return;
      const uint32_t block = a - a % setup_.eraseBlock;
      std::fill(flash.begin() + block, flash.begin() + block + setup_.eraseBlock, 0xFF);
      reply(head, nowUs + static_cast<int64_t>(setup_.eraseMs) * 1000);
      return;
    }
    case kBootCmdWriteChunk: {
      ++chunksReceived;
      const uint32_t a = address();
      if (!programmingEnabled || a + kChunkBytes > flash.size()) return;
      const int addressBytes = setup_.version == kLongAddressVersion ? 4 : 3;
      writeChunk(a, &frame_[1 + addressBytes]);
      if (chunksReceived == setup_.powerCycleAfterChunk) {
        powerCycle(nowUs);
        return;
      }
      if (chunksReceived == setup_.dropLineAfterChunk) {
        lineDead_ = true;
        return;
      }
      std::vector<uint8_t> r(frame_.begin(), frame_.begin() + 1 + addressBytes);
      reply(r, nowUs + static_cast<int64_t>(setup_.writeMs) * 1000);
      return;
    }
    default:
      return;
  }
}

}  // namespace sim
