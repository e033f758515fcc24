#include "link/boot_link.h"

#include "link/module_link.h"
#include "platform/termios_device.h"
#include "texts/boot_text_ids.h"
#include "texts/text_ids.h"

namespace buslink {

using namespace texts;

namespace {

constexpr uint8_t kCmdVersion = 0xF1;
constexpr uint8_t kCmdDeviceId = 0xF2;
constexpr uint8_t kCmdEnable = 0xF3;
constexpr uint8_t kCmdFirmwareNumber = 0xF4;
constexpr uint8_t kCmdRunningNumber = 0xF5;
constexpr uint8_t kCmdWriteChunk = 0xF7;
constexpr uint8_t kCmdErase = 0xF8;
constexpr uint8_t kEchoTest = 0xA3;
constexpr uint8_t kNobodyAnswered = 0x22;
constexpr uint8_t kAnnounce = 0x55;
constexpr uint8_t kRestartCommand = 0x0F;

constexpr int kExchangeTries = 3;
constexpr int kReadTries = 3;
constexpr uint32_t kRetryPauseMs = 10;
constexpr int kListenBytes = 10;
constexpr int kBaudFoundAbove = 5;
constexpr uint32_t kResyncPollMs = 50;
constexpr uint32_t kFramePauseMs = 2;
constexpr int kDrainBytes = 5;
constexpr int kChunkBytes = 16;
constexpr int kLongAddressVersion = 512;
// A line that streams without a gap must not keep the echo test reading for ever.
constexpr int kEchoReadLimit = 4096;

uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(b[at]) << 24 | static_cast<uint32_t>(b[at + 1]) << 16 |
         static_cast<uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

bool acceptedVersion(int32_t v) {
  return (v >= 2 && v <= 8) || (v >= 256 && v <= 260) || v == kLongAddressVersion;
}

}  // namespace

uint8_t bootCheck(const uint8_t* bytes, int count) {
  uint8_t c = BootLink::kCheckSeed;
  for (int i = 0; i < count; ++i) c ^= bytes[i];
  return c;
}

BootLink::BootLink()
    : BootLink(std::make_unique<platform::TermiosDevice>(), platform::systemClock()) {}

BootLink::BootLink(std::unique_ptr<platform::SerialDevice> device, platform::Clock& clock)
    : port_(std::move(device)), clock_(clock) {}

void BootLink::post(int32_t textId, int32_t value) {
  if (post_) post_(textId, value);
}

void BootLink::step() {
  if (progress_) progress_();
}

// --- port level ------------------------------------------------------------

int32_t BootLink::setPortNumber(int32_t portNumber) {
  if (port_.isOpen()) return -1;
  portNumber_ = portNumber;
  return 0;
}

int32_t BootLink::setBaudRate(int32_t baudRate) {
  if (baudRate != 4800 && baudRate != 9600 && baudRate != 19200) return -2;
  if (port_.isOpen() && baudRate != baudRate_) return 1;
  baudRate_ = baudRate;
  return 0;
}

int32_t BootLink::applyBaudRate() {
  return port_.setBaudRate(baudRate_);
}

int32_t BootLink::openPort() {
  return port_.open(portNumber_, baudRate_);
}

int32_t BootLink::open9600() {
  if (port_.open(portNumber_, 9600) != 0) {
    // A device that opened but refused its settings would stay open.
    port_.close();
    return kTextCannotOpenPort;
  }
  return 0;
}

int32_t BootLink::resetPulse() {
  port_.setDtr(1);
  clock_.sleepMs(1);
  port_.setDtr(0);
  return 0;
}

int32_t BootLink::close() {
  return port_.close();
}

// --- frames ------------------------------------------------------------------

bool BootLink::readValid(int count) {
  rx_.fill(0);
  if (port_.read(rx_.data(), count) < count) return false;
  return bootCheck(rx_.data(), count) == 0;
}

int32_t BootLink::exchange(int txLength, int rxLength) {
  tx_[txLength - 1] = bootCheck(tx_.data(), txLength - 1);
  for (int attempt = 0; attempt < kExchangeTries; ++attempt) {
    if (port_.write(tx_.data(), txLength) < txLength) return -10;
    if (echoMode_) {
      std::array<uint8_t, 22> echo{};
      port_.read(echo.data(), txLength);
    }
    for (int r = 0; r < kReadTries; ++r) {
      if (readValid(rxLength)) return 0;
    }
    clock_.sleepMs(kRetryPauseMs);
  }
  return -20;
}

int BootLink::addressBytes(uint8_t* out, uint32_t address) const {
  int n = 0;
  if (longAddresses_) out[n++] = static_cast<uint8_t>(address >> 24);
  out[n++] = static_cast<uint8_t>(address >> 16);
  out[n++] = static_cast<uint8_t>(address >> 8);
  out[n++] = static_cast<uint8_t>(address);
  return n;
}

// --- bootloader commands -----------------------------------------------------

int32_t BootLink::readBootloaderVersion() {
  longAddresses_ = false;
  tx_[0] = kCmdVersion;
  const int32_t e = exchange(2, 4);
  if (e != 0) return e;
  const int32_t v = rx_[1] * 256 + rx_[2];
  bootloaderVersion_ = v;
  if (!acceptedVersion(v)) return v;
  longAddresses_ = v == kLongAddressVersion;
  return 0;
}

int32_t BootLink::readDeviceId() {
  deviceId_ = 0;
  tx_[0] = kCmdDeviceId;
  const int32_t e = exchange(2, 10);
  if (e != 0) return e;
  for (int i = 1; i <= 4; ++i) {
    if ((rx_[i] & 0x0F) != 0) return -1;
  }
  const uint32_t id = static_cast<uint32_t>((rx_[5] & 0x0F) << 12 | (rx_[6] & 0x0F) << 8 |
                                            (rx_[7] & 0x0F) << 4 | (rx_[8] & 0x0F));
  deviceId_ = id;
  const uint32_t expected = static_cast<uint32_t>(image_.bytes[14] << 8 | image_.bytes[15]);
  return id == expected ? 0 : static_cast<int32_t>(id);
}

int32_t BootLink::enableProgramming() {
  tx_[0] = kCmdEnable;
  tx_[1] = 0x12;
  tx_[2] = 0x56;
  return exchange(4, 4);
}

int32_t BootLink::readFirmwareNumber() {
  tx_[0] = kCmdFirmwareNumber;
  const int32_t e = exchange(2, 6);
  if (e != 0) return e;
  firmwareNumber_ = static_cast<uint32_t>(rx_[1]) << 24 | static_cast<uint32_t>(rx_[2]) << 16 |
                    static_cast<uint32_t>(rx_[3]) << 8 | rx_[4];
  return 0;
}

int32_t BootLink::writeRunningNumber() {
  tx_[0] = kCmdRunningNumber;
  for (int i = 0; i < 4; ++i) tx_[1 + i] = image_.bytes[24 + i];
  return exchange(6, 2);
}

int32_t BootLink::eraseBlock(uint32_t address) {
  tx_[0] = kCmdErase;
  const int n = 1 + addressBytes(&tx_[1], address);
  return exchange(n + 1, n + 1);
}

int32_t BootLink::writeChunk(uint32_t address, const uint8_t* data16) {
  tx_[0] = kCmdWriteChunk;
  const int n = 1 + addressBytes(&tx_[1], address);
  for (int i = 0; i < kChunkBytes; ++i) tx_[n + i] = data16[i];
  return exchange(n + kChunkBytes + 1, n + 1);
}

// --- finding the bootloader --------------------------------------------------

int32_t BootLink::detectEcho() {
  const uint8_t test = kEchoTest;
  port_.write(&test, 1);
  echoMode_ = false;
  uint8_t b = 0;
  for (int i = 0; i < kEchoReadLimit && port_.read(&b, 1) == 1; ++i) {
    if (b == kEchoTest) echoMode_ = true;
  }
  lastResult_ = readBootloaderVersion();
  return lastResult_;
}

int32_t BootLink::detectBaudRate() {
  std::vector<int32_t> rates;
  for (uint16_t r : image_.baudRates) {
    if (r == 0) break;
    rates.push_back(r);
  }
  const bool listenOnce = rates.empty();
  if (listenOnce) rates.push_back(baudRate_);
  for (int32_t rate : rates) {
    if (!listenOnce) {
      baudRate_ = rate;
      port_.setBaudRate(rate);
    }
    port_.purgeReceive();
    int count = 0;
    for (int i = 0; i < kListenBytes; ++i) {
      uint8_t b = 0;
      // A one-byte frame is valid only when it is 0x55.
      if (port_.read(&b, 1) != 1 || bootCheck(&b, 1) != 0) break;
      ++count;
    }
    if (count > kBaudFoundAbove) return count;
  }
  return 0;
}

int32_t BootLink::waitForBootloader() {
  bool found = false;
  for (int i = 0; i < kListenBytes && !found; ++i) {
    uint8_t b = 0;
    found = port_.read(&b, 1) == 1 && b == kAnnounce;
  }
  if (!found) {
    const uint8_t nobody = kNobodyAnswered;
    port_.write(&nobody, 1);
    return 1;
  }
  detectEcho();
  lastResult_ = readBootloaderVersion();
  synchronised_ = true;
  return 0;
}

int32_t BootLink::drain() {
  port_.purgeReceive();
  std::array<uint8_t, kDrainBytes> dropped{};
  port_.read(dropped.data(), kDrainBytes);
  return 0;
}

int32_t BootLink::sendRestart() {
  const uint8_t b0 = static_cast<uint8_t>(image_.family | kRestartCommand);
  const std::array<uint8_t, 4> frame = {b0, 0, 0, frameCheck(b0, 0, 0)};
  clock_.sleepMs(kFramePauseMs);
  if (port_.write(frame.data(), 4) < 4) return kTextSendError;
  std::array<uint8_t, 4> echo{};
  if (port_.read(echo.data(), 4) < 4) return kTextTooFewBytes;
  if ((echo[0] ^ echo[1] ^ echo[2] ^ echo[3]) != ModuleLink::kCheckSeed) return kTextChecksumWrong;
  if (echo != frame) return kTextSendError;
  return 0;
}

void BootLink::abort() {
  // The state first, so that a worker woken by the close sees why.
  state_ = kStateAbort;
  port_.close();
}

void BootLink::resync() {
  state_ = kStateWaitForWindow;
  post(kTextSwitchModuleOffAndOn, 0);
  while (state_ == kStateWaitForWindow) clock_.sleepMs(kResyncPollMs);
  for (;;) {
    if (state_ == kStateAbort) break;
    uint8_t b = 0;
    if (port_.waitForByte(&b) != 0) break;
    if (port_.state() == SerialPort::kStateClosed || state_ == kStateAbort) break;
    if (b == kAnnounce) break;
  }
  detectEcho();
  lastResult_ = readBootloaderVersion();
  enableProgramming();
  writeRunningNumber();
}

// --- programming -------------------------------------------------------------

bool BootLink::collectChunks(std::vector<std::vector<Chunk>>& records) const {
  const std::vector<uint8_t>& img = image_.bytes;
  const size_t end = std::min<size_t>(image_.sectionLength, img.size());
  size_t p = static_cast<size_t>(img[2] << 8 | img[3]);
  while (p + 8 <= end) {
    const uint32_t address = be32(img, p);
    const uint32_t length = be32(img, p + 4);
    p += 8;
    // A record that runs past the section would program whatever follows it.
    if (length > end - p) return false;
    std::vector<Chunk> record;
    for (uint32_t off = 0; off < length; off += kChunkBytes) {
      Chunk c;
      c.address = address + off;
      c.firstRecord = records.empty();
      c.indexInRecord = static_cast<int>(off / kChunkBytes);
      c.data.fill(0xFF);  // a short last chunk is padded with erased flash
      for (uint32_t i = 0; i < kChunkBytes && off + i < length; ++i) c.data[i] = img[p + off + i];
      record.push_back(c);
    }
    p += length;
    if (!record.empty()) records.push_back(std::move(record));
  }
  return !records.empty();
}

int32_t BootLink::programSimple() {
  std::vector<std::vector<Chunk>> records;
  if (!collectChunks(records)) return kTextProgrammingError;
  enableProgramming();
  if (writeRunningNumber() != 0) return kTextRunningNumberFailed;
  bool first = true;
  for (const std::vector<Chunk>& record : records) {
    for (const Chunk& c : record) {
      if (!first && writeChunk(c.address, c.data.data()) != 0) return kTextProgrammingError;
      first = false;
      step();
    }
  }
  const Chunk& c = records.front().front();
  if (writeChunk(c.address, c.data.data()) != 0) return kTextProgrammingError;
  return 0;
}

int32_t BootLink::writeWithResync(const std::vector<Chunk>& record, size_t index,
                                  uint32_t writeBlock) {
  const Chunk& c = record[index];
  if (writeChunk(c.address, c.data.data()) == 0) return 0;
  resync();
  // The restart lost the chunks the bootloader was collecting for this write
  // block; sent alone, the retried chunk would leave their bytes erased.
  size_t from = index;
  while (from > 0 && record[from - 1].address / writeBlock == c.address / writeBlock &&
         !(record[from - 1].firstRecord &&
           static_cast<uint32_t>(record[from - 1].indexInRecord) * kChunkBytes < writeBlock)) {
    --from;
  }
  for (size_t i = from; i <= index; ++i) {
    if (writeChunk(record[i].address, record[i].data.data()) != 0) return kTextProgrammingError;
  }
  return 0;
}

int32_t BootLink::programBlocks() {
  const uint8_t e = image_.bytes[30];
  const uint8_t w = image_.bytes[31];
  if (e > 15 || w > 15) return kTextBlockSizesWrong;
  const uint32_t eraseMask = e == 0 ? 32u : 0xFFFFFFFFu << e;
  const uint32_t writeBlock = w == 0 ? 16u : 1u << w;
  std::vector<std::vector<Chunk>> records;
  if (!collectChunks(records)) return kTextProgrammingError;

  enableProgramming();
  if (writeRunningNumber() != 0) return kTextRunningNumberFailed;

  const std::array<uint8_t, 16> empty = [] {
    std::array<uint8_t, 16> a{};
    a.fill(0xFF);
    return a;
  }();
  auto inFirstBlock = [writeBlock](const Chunk& c) {
    return c.firstRecord && static_cast<uint32_t>(c.indexInRecord) * kChunkBytes < writeBlock;
  };
  // Nothing is erased yet: the block of the very first chunk must be erased
  // too, also when it lies at address 0 (else the old start of the firmware
  // would survive an interrupted update).
  bool erasedAny = false;
  uint32_t lastErased = 0;
  for (const std::vector<Chunk>& record : records) {
    for (size_t i = 0; i < record.size(); ++i) {
      const Chunk& c = record[i];
      if (!erasedAny || (c.address & eraseMask) != (lastErased & eraseMask)) {
        if (eraseBlock(c.address) != 0) {
          resync();
          if (eraseBlock(c.address) != 0) return kTextEraseError;
        }
        erasedAny = true;
        lastErased = c.address;
      }
      if (!inFirstBlock(c)) {
        if (writeWithResync(record, i, writeBlock) != 0) return kTextProgrammingError;
      }
      step();
    }
    uint32_t next = record.back().address + kChunkBytes;
    // The first write block is completed when it is written at the end.
    if (inFirstBlock(record.back())) continue;
    for (; next % writeBlock != 0; next += kChunkBytes) writeChunk(next, empty.data());
  }

  const std::vector<Chunk>& first = records.front();
  uint32_t next = first.front().address;
  for (const Chunk& c : first) {
    if (!inFirstBlock(c)) break;
    if (writeChunk(c.address, c.data.data()) != 0) return kTextProgrammingError;
    next = c.address + kChunkBytes;
  }
  for (; next % writeBlock != 0; next += kChunkBytes) writeChunk(next, empty.data());
  return 0;
}

}  // namespace buslink
