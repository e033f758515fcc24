#include "link/module_link.h"

#include <algorithm>
#include <cstring>

#include "platform/termios_device.h"
#include "texts/text_ids.h"

namespace buslink {

using namespace texts;

namespace {

constexpr uint8_t kCmdTypeId = 0;
constexpr uint8_t kCmdVersion = 1;
constexpr uint8_t kCmdReadByte = 2;
constexpr uint8_t kCmdWriteByte = 3;
constexpr uint8_t kCmdStatusByte = 4;
constexpr uint8_t kCmdTestOutput = 5;
constexpr uint8_t kCmdLiveValue = 6;
constexpr uint8_t kCmdPeriod = 7;
constexpr uint8_t kCmdDisplayControl = 8;
constexpr uint8_t kCmdLearnPoint = 9;
constexpr uint8_t kCmdClockRegister = 10;
constexpr uint8_t kCmdSelectPage = 11;
constexpr uint8_t kCmdOutputValue = 12;
constexpr uint8_t kCmdSpecialFunction = 14;
constexpr uint8_t kCmdError = 15;

constexpr uint8_t kStreamStart = 0x3B;  // ';'
constexpr uint8_t kPcSearch = 0x18;

constexpr int kWriteTries = 3;
constexpr uint32_t kWriteRetryPauseMs = 50;
constexpr uint32_t kFramePauseMs = 2;
constexpr int kBusyLineBytes = 4097;
constexpr uint32_t kPcSearchWindowMs = 3000;
constexpr int kPcSearchForeignFrames = 3;
constexpr int kSerialSearchBits = 28;
// A line that streams bytes without ever forming a ';' frame must not keep
// readStreamFrame busy forever.
constexpr int kStreamResyncLimit = 4096;

bool frameValid(const uint8_t* f) {
  return (f[0] ^ f[1] ^ f[2] ^ f[3]) == ModuleLink::kCheckSeed;
}

uint16_t word(const std::array<uint8_t, 4>& f) {
  return static_cast<uint16_t>(f[1] * 256 + f[2]);
}

}  // namespace

uint8_t frameCheck(uint8_t byte0, uint8_t byte1, uint8_t byte2) {
  return static_cast<uint8_t>(ModuleLink::kCheckSeed ^ byte0 ^ byte1 ^ byte2);
}

ModuleLink::ModuleLink()
    : ModuleLink(std::make_unique<platform::TermiosDevice>(), platform::systemClock()) {}

ModuleLink::ModuleLink(std::unique_ptr<platform::SerialDevice> device, platform::Clock& clock)
    : port_(std::move(device)), clock_(clock) {}

void ModuleLink::report(int32_t textId) {
  if (message_) message_(textId);
}

// --- port level ------------------------------------------------------------

int32_t ModuleLink::setPortNumber(int32_t portNumber) {
  if (port_.isOpen()) return 1;
  portNumber_ = portNumber;
  return 0;
}

int32_t ModuleLink::portNumber() const {
  return portNumber_ + (port_.isOpen() ? 128 : 0);
}

int32_t ModuleLink::openPort() {
  if (port_.isOpen()) return 0;
  if (port_.open(portNumber_, kBaudRate) != 0) {
    // A device that opened but refused its settings stays open in the
    // serial port; the next openPort would take it for a working port.
    port_.close();
    return kTextCannotOpenPort;
  }
  port_.setRts(1);
  port_.setDtr(0);
  return 0;
}

int32_t ModuleLink::selectModule(uint8_t busAddress) {
  int32_t e = openPort();
  if (e != 0) return e;
  // The address is the frame's high nibble; a low nibble would change the command.
  busAddress_ = busAddress & 0xF0;
  return checkLineIdle();
}

int32_t ModuleLink::checkLineIdle() {
  uint8_t b = 0;
  for (int received = 0; received < kBusyLineBytes; ++received) {
    if (port_.read(&b, 1) != 1) return 0;
  }
  return kTextComBusy;
}

int32_t ModuleLink::sendWakePulse() {
  port_.close();
  int32_t e = port_.open(portNumber_, 300);
  if (e != 0) return e;
  const uint8_t zero = 0;
  uint8_t echo = 0;
  port_.write(&zero, 1);
  port_.read(&echo, 1);
  clock_.sleepMs(30);
  port_.close();
  return openPort();
}

int32_t ModuleLink::sendWakeByte() {
  const uint8_t zero = 0;
  uint8_t echo = 0;
  port_.write(&zero, 1);
  port_.read(&echo, 1);
  return 0;
}

int32_t ModuleLink::close() {
  return port_.close();
}

// --- frames ------------------------------------------------------------------

int32_t ModuleLink::sendFrame(uint8_t byte0, uint8_t byte1, uint8_t byte2) {
  clock_.sleepMs(kFramePauseMs);
  if (progress_) progress_();
  tx_ = {byte0, byte1, byte2, frameCheck(byte0, byte1, byte2)};
  if (port_.write(tx_.data(), 4) < 4) return kTextSendError;
  int32_t e = receiveFrame();
  if (e != 0) return e;
  if (rx_ != tx_) return kTextSendError;
  return 0;
}

int32_t ModuleLink::receiveFrame() {
  rx_ = {};
  if (port_.read(rx_.data(), 4) < 4) return kTextTooFewBytes;
  if (!frameValid(rx_.data())) return kTextChecksumWrong;
  return 0;
}

int32_t ModuleLink::checkReply(uint8_t command) {
  int32_t e = receiveFrame();
  if (e != 0) return e;
  uint8_t nibble = rx_[0] & 0x0F;
  if (nibble == command) return 0;
  if (nibble < kCmdError) return kTextReceiveError;
  if (rx_[1] == 1) return kTextUnknownCommand;
  if (rx_[1] == 3) return kTextEngineRunning;
  return kTextReceiveError;
}

int32_t ModuleLink::readStreamFrame(uint8_t& data1, uint8_t& data2) {
  uint8_t f[4];
  if (port_.read(f, 4) < 4) return 0;
  int consumed = 4;
  while (consumed <= kStreamResyncLimit) {
    if (f[0] == kStreamStart && frameValid(f)) {
      std::copy(f, f + 4, rx_.begin());
      data1 = f[1];
      data2 = f[2];
      return 4;
    }
    int start = 0;
    for (int i = 1; i < 4 && start == 0; ++i) {
      if (f[i] == kStreamStart) start = i;
    }
    if (start != 0) {
      std::memmove(f, f + start, static_cast<size_t>(4 - start));
      if (port_.read(f + 4 - start, start) < start) return 0;
      consumed += start;
    } else {
      if (port_.read(f, 4) < 4) return 0;
      consumed += 4;
    }
  }
  return 0;
}

// --- module commands -----------------------------------------------------------

int32_t ModuleLink::sendAddressed(uint8_t command, uint8_t byte1, uint8_t byte2) {
  return sendFrame(static_cast<uint8_t>(busAddress_ | command), byte1, byte2);
}

// Identification frames report any send failure as a missing adapter and any
// reply failure as a missing module: the user can act on those.
int32_t ModuleLink::identify(uint8_t byte2, uint16_t& version) {
  if (sendAddressed(kCmdVersion, 0, byte2) != 0) return kTextAdapterNotFound;
  if (checkReply(kCmdVersion) != 0) return kTextModuleNotFound;
  version = word(rx_);
  return 0;
}

int32_t ModuleLink::readTypeId(uint16_t& type) {
  if (sendAddressed(kCmdTypeId, 0, 0) != 0) return kTextAdapterNotFound;
  if (receiveFrame() != 0) return kTextModuleNotFound;
  type = word(rx_);
  return 0;
}

int32_t ModuleLink::readFirmwareVersion(uint16_t& version) {
  return identify(0, version);
}

int32_t ModuleLink::readRequiredSoftwareVersion(uint16_t& version) {
  return identify(1, version);
}

int32_t ModuleLink::readByte(uint8_t address, uint8_t& value) {
  int32_t e = sendAddressed(kCmdReadByte, address, 0);
  if (e == 0) e = checkReply(kCmdReadByte);
  if (e != 0) return e;
  if (rx_[1] != address) return kTextReceiveError;
  value = rx_[2];
  return 0;
}

int32_t ModuleLink::writeByte(uint8_t address, uint32_t value) {
  if (value > 255) return kTextParameterOutOfRange;
  for (int attempt = 0; attempt < kWriteTries; ++attempt) {
    if (attempt > 0) clock_.sleepMs(kWriteRetryPauseMs);
    int32_t e = sendAddressed(kCmdWriteByte, address, static_cast<uint8_t>(value));
    if (e != 0) return e;
    if (noReply_) return 0;
    e = checkReply(kCmdWriteByte);
    if (e != 0) return e;
    if (rx_[1] != address) break;
    if (rx_[2] == value) return 0;
  }
  return kTextEepromWriteError;
}

int32_t ModuleLink::readStatusByte(uint8_t index, uint8_t& value) {
  if (index > 5) return 1;
  int32_t e = sendAddressed(kCmdStatusByte, index, 0);
  if (e == 0) e = checkReply(kCmdStatusByte);
  if (e != 0) return e;
  if (rx_[1] != index) return kTextComError;
  value = rx_[2];
  return 0;
}

int32_t ModuleLink::setTestOutput(uint8_t index, uint8_t state) {
  int32_t e = sendAddressed(kCmdTestOutput, index, state);
  return e != 0 ? e : checkReply(kCmdTestOutput);
}

int32_t ModuleLink::readLiveValue(uint8_t index, uint16_t& value) {
  int32_t e = sendAddressed(kCmdLiveValue, index, 0);
  if (e == 0) e = checkReply(kCmdLiveValue);
  if (e != 0) return e;
  value = word(rx_);
  return 0;
}

int32_t ModuleLink::readLiveValueLenient(uint8_t index, uint16_t& value) {
  int32_t e = sendAddressed(kCmdLiveValue, index, 0);
  if (e == 0) e = checkReply(kCmdLiveValue);
  if (e != 0 && e != kTextReceiveError) return e;
  value = word(rx_);
  return 0;
}

int32_t ModuleLink::readLiveBytes(uint8_t index, uint8_t& byte1, uint8_t& byte2) {
  int32_t e = sendAddressed(kCmdLiveValue, index, 0);
  if (e == 0) e = checkReply(kCmdLiveValue);
  if (e != 0) return e;
  byte1 = rx_[1];
  byte2 = rx_[2];
  return 0;
}

int32_t ModuleLink::readPeriod(uint16_t& period) {
  int32_t e = sendAddressed(kCmdPeriod, 0, 0);
  if (e == 0) e = checkReply(kCmdPeriod);
  if (e != 0) return e;
  period = word(rx_);
  return 0;
}

int32_t ModuleLink::displayControl(uint8_t channel, uint8_t code) {
  int32_t e = sendAddressed(kCmdDisplayControl, channel, code);
  if (e != 0 || noReply_) return e;
  return checkReply(kCmdDisplayControl);
}

int32_t ModuleLink::storeLearnPoint(uint8_t value) {
  int32_t e = sendAddressed(kCmdLearnPoint, value, 0);
  if (e == 0) e = checkReply(kCmdLearnPoint);
  if (e != 0) return e;
  if (rx_[1] != value || rx_[2] != 0) return kTextComError;
  return 0;
}

int32_t ModuleLink::writeClockRegister(uint8_t reg, int32_t value) {
  int32_t twoDigits = ((value % 100) + 100) % 100;
  uint8_t bcd = static_cast<uint8_t>((twoDigits / 10) << 4 | (twoDigits % 10));
  int32_t e = sendAddressed(kCmdClockRegister, reg, bcd);
  if (e == 0) e = checkReply(kCmdClockRegister);
  if (e != 0) return e;
  if (rx_[1] != reg || rx_[2] != bcd) return kTextComError;
  return 0;
}

int32_t ModuleLink::selectPage(uint8_t page) {
  int32_t e = sendAddressed(kCmdSelectPage, page, 0);
  return e != 0 ? e : checkReply(kCmdSelectPage);
}

int32_t ModuleLink::setOutputValue(uint8_t channel, uint8_t value) {
  int32_t e = sendAddressed(kCmdOutputValue, channel, value);
  return e != 0 ? e : receiveFrame();
}

int32_t ModuleLink::specialFunction(uint8_t& code, uint8_t& value) {
  int32_t e = sendAddressed(kCmdSpecialFunction, code, value);
  if (e == 0) e = checkReply(kCmdSpecialFunction);
  if (e != 0) return e;
  code = rx_[1];
  value = rx_[2];
  return 0;
}

int32_t ModuleLink::restartModule() {
  int32_t e = sendAddressed(kCmdError, 0, 0);
  if (e != 0 || noReply_) return e;
  return checkReply(kCmdError);
}

int32_t ModuleLink::readWord(uint8_t address, uint16_t& value) {
  uint8_t high = 0;
  uint8_t low = 0;
  int32_t e = readByte(address, high);
  if (e == 0) e = readByte(static_cast<uint8_t>(address + 1), low);
  if (e != 0) return e;
  value = static_cast<uint16_t>(high * 256 + low);
  return 0;
}

int32_t ModuleLink::writeWord(uint8_t address, uint32_t value) {
  int32_t e = writeByte(address, (value >> 8) & 0xFF);
  return e != 0 ? e : writeByte(static_cast<uint8_t>(address + 1), value & 0xFF);
}

int32_t ModuleLink::readSerialNumber(uint32_t& serial) {
  uint8_t bytes[4];
  for (int i = 0; i < 4; ++i) {
    int32_t e = readByte(static_cast<uint8_t>(0xFC + i), bytes[i]);
    if (e != 0) return e;
  }
  uint32_t number = 0;
  for (int i = 0; i < 8; ++i) {
    uint8_t digit = (i % 2 == 0) ? bytes[i / 2] >> 4 : bytes[i / 2] & 0x0F;
    if ((i == 0 && digit != 0) || digit > 9) {
      serial = 0;
      return 0;
    }
    number = number * 10 + digit;
  }
  serial = number;
  return 0;
}

int32_t ModuleLink::writeSerialNumber(uint32_t serial) {
  // Seven digits; an eighth would read back as "no serial number".
  if (serial > 9999999) return kTextParameterOutOfRange;
  uint8_t digits[8];
  for (int i = 7; i >= 0; --i) {
    digits[i] = static_cast<uint8_t>(serial % 10);
    serial /= 10;
  }
  for (int i = 0; i < 4; ++i) {
    int32_t e = writeByte(static_cast<uint8_t>(0xFC + i), digits[2 * i] << 4 | digits[2 * i + 1]);
    if (e != 0) return e;
  }
  return 0;
}

// --- address-less frames ---------------------------------------------------------

int32_t ModuleLink::sendTuningFrame() {
  return sendFrame(0x01, 0x23, 0x45);
}

int32_t ModuleLink::searchBit(uint8_t bit, uint8_t value) {
  if (sendFrame(0x14, bit, value) != 0) return kTextAdapterNotFound;
  uint8_t answer = 0;
  return port_.read(&answer, 1) == 1 ? 0 : kTextModuleNotFound;
}

int32_t ModuleLink::markFound(uint8_t index, uint8_t value) {
  return sendFrame(0x15, index, value) != 0 ? kTextAdapterNotFound : 0;
}

int32_t ModuleLink::selectSerialHigh(uint8_t byte1, uint8_t byte2) {
  return sendFrame(0x16, byte1, byte2) != 0 ? kTextAdapterNotFound : 0;
}

int32_t ModuleLink::selectSerialLow(uint8_t byte1, uint8_t byte2) {
  if (sendFrame(0x17, byte1, byte2) != 0) return kTextAdapterNotFound;
  if (noReply_) return 0;
  if (receiveFrame() != 0 || rx_[1] != byte1 || rx_[2] != byte2) return kTextModuleNotFound;
  return 0;
}

int32_t ModuleLink::resetSearch() {
  return sendFrame(0x1F, 0, 0) != 0 ? kTextAdapterNotFound : 0;
}

int32_t ModuleLink::selectBySerial(uint32_t serialBcd) {
  if (serialBcd < 0x1000000 || serialBcd >= 0x999999A) {
    report(kTextWrongSerialNumber);
    return kTextWrongSerialNumber;
  }
  // Both halves always go out: only the second one is answered, and its
  // answer alone tells whether a module took the selection.
  selectSerialHigh((serialBcd >> 24) & 0x0F, (serialBcd >> 16) & 0xFF);
  if (selectSerialLow((serialBcd >> 8) & 0xFF, serialBcd & 0xFF) != 0) return kTextModuleNotFound;
  return 0;
}

int32_t ModuleLink::pcSearchStep() {
  int32_t e = receiveFrame();
  if (e != 0) return e;
  if (rx_[0] != kPcSearch || rx_[1] != 0x12 || rx_[2] != 0x34) return 0;
  if (sendFrame(kPcSearch, 0x56, 0x78) != 0) return kTextAdapterNotFound;
  if (receiveFrame() != 0) return kTextModuleNotFound;
  if (rx_[1] == 0x9A && rx_[2] == 0xBC) return kTextPcSearchOk;
  return 0;
}

int32_t ModuleLink::waitForPcSearch() {
  checkLineIdle();
  uint32_t start = clock_.ticks();
  int foreignFrames = 0;
  while (clock_.ticks() - start < kPcSearchWindowMs) {
    int32_t r = pcSearchStep();
    if (r == kTextPcSearchOk) return 0;
    if (r == 0) ++foreignFrames;
  }
  return foreignFrames <= kPcSearchForeignFrames ? 0 : kTextComBusy;
}

int32_t ModuleLink::searchModules(FoundModuleTable& table) {
  for (FoundModule& m : table) m.serial = 0;
  int32_t count = 0;
  selectModule(0x20);
  int32_t e = waitForPcSearch();
  if (e != 0) {
    report(e);
    return 1;
  }
  e = resetSearch();
  if (e != 0) return e;
  for (;;) {
    uint32_t serial = 0;
    bool answered = false;
    for (uint8_t bit = 0; bit < kSerialSearchBits; ++bit) {
      if (searchBit(bit, 0) == 0) {
        answered = true;
      } else if (searchBit(bit, 1) == 0) {
        serial |= 1u << bit;
        answered = true;
      }
      if (!answered) return count;
    }
    selectSerialHigh((serial >> 24) & 0x0F, (serial >> 16) & 0xFF);
    selectSerialLow((serial >> 8) & 0xFF, serial & 0xFF);
    uint16_t type = 0;
    readTypeId(type);
    table[count] = {serial, rx_[1], rx_[2]};
    ++count;
    if (count == kMaxFoundModules) return count;
    markFound(0, serial & 0xFF);
    markFound(1, (serial >> 8) & 0xFF);
    markFound(2, (serial >> 16) & 0xFF);
    markFound(3, (serial >> 24) & 0x0F);
  }
}

}  // namespace buslink
