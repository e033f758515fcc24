#include "link/serial_port.h"

#include "platform/termios_device.h"

namespace buslink {

namespace {
constexpr int kBufferBytes = 4096;
constexpr uint32_t kWriteConstantMs = 10;
constexpr uint32_t kReadConstantMs = 50;
constexpr uint32_t kWaitSliceMs = 1000;
}  // namespace

uint32_t msPerByte(int32_t baudRate) {
  if (baudRate <= 0) return 1;
  uint32_t k = static_cast<uint32_t>(19200 / baudRate);
  return k == 0 ? 1 : k;
}

SerialPort::SerialPort() : SerialPort(std::make_unique<platform::TermiosDevice>()) {}

SerialPort::SerialPort(std::unique_ptr<platform::SerialDevice> device)
    : device_(std::move(device)) {}

SerialPort::~SerialPort() {
  close();
}

int32_t SerialPort::open(int32_t portNumber, int32_t baudRate) {
  if (device_->isOpen()) return -11;
  if (portNumber < 1 || portNumber > 99) return -10;
  if (!device_->openDevice(portNumber)) return -1;
  // The character-received event mask has no counterpart here: reads wait
  // on the descriptor itself, so step -2 cannot fail.
  if (!device_->setBufferSizes(kBufferBytes, kBufferBytes)) return -3;
  if (!device_->purge()) return -4;
  uint32_t k = msPerByte(baudRate);
  platform::SerialTimeouts t;
  t.readInterval = 0;
  t.readMultiplier = k;
  t.readConstant = kReadConstantMs;
  t.writeMultiplier = k;
  t.writeConstant = kWriteConstantMs;
  if (!device_->applyTimeouts(t)) return -5;
  timeouts_ = t;
  if (!device_->applyLineSettings(baudRate)) return -6;
  state_ = kStateIdle;
  return 0;
}

int32_t SerialPort::close() {
  if (!device_->isOpen()) return 0;
  // State first: a waitForByte on another thread sees it once its read ends.
  state_ = kStateClosed;
  device_->abortRead();
  device_->closeDevice();
  return 0;
}

int32_t SerialPort::isOpen() const {
  return device_->isOpen() ? 1 : 0;
}

int32_t SerialPort::write(const uint8_t* data, int32_t count) {
  if (state_ != kStateIdle) return -2;
  int n = device_->write(data, count);
  return n < 0 ? -1 : n;
}

int32_t SerialPort::read(uint8_t* buffer, int32_t count) {
  if (count <= 0 || !device_->isOpen()) return 0;
  int n = device_->read(buffer, count);
  return n < 0 ? 0 : n;
}

int32_t SerialPort::waitForByte(uint8_t* buffer) {
  if (!device_->isOpen()) return 1;
  // Claimed atomically, so that a close() between the checks and the claim
  // cannot be overwritten.
  int32_t idle = kStateIdle;
  if (!state_.compare_exchange_strong(idle, kStateWaiting)) return 2;
  platform::SerialTimeouts saved = timeouts_;
  platform::SerialTimeouts slice = saved;
  slice.readConstant = kWaitSliceMs;
  device_->applyTimeouts(slice);
  while (state_ == kStateWaiting && device_->isOpen()) {
    if (device_->read(buffer, 1) == 1) break;
  }
  // Only the session that started the wait gets its time-outs back.
  int32_t waiting = kStateWaiting;
  if (state_.compare_exchange_strong(waiting, kStateIdle)) device_->applyTimeouts(saved);
  return 0;
}

int32_t SerialPort::setRts(int32_t on) {
  if (on != 0 && on != 1) return 1;
  device_->setRts(on == 1);
  return 0;
}

int32_t SerialPort::setDtr(int32_t on) {
  if (on != 0 && on != 1) return 1;
  device_->setDtr(on == 1);
  return 0;
}

int32_t SerialPort::setBaudRate(int32_t baudRate) {
  if (!device_->isOpen()) return 1;
  device_->setBaudRate(baudRate);
  return 0;
}

int32_t SerialPort::purgeReceive() {
  device_->purgeReceive();
  return 0;
}

int32_t SerialPort::setReadTimeouts(uint32_t multiplier, uint32_t constant, uint32_t interval) {
  timeouts_.readMultiplier = multiplier;
  timeouts_.readConstant = constant;
  timeouts_.readInterval = interval;
  return device_->applyTimeouts(timeouts_) ? 1 : 0;
}

}  // namespace buslink
