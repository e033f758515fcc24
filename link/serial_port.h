#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/serial_device.h"

namespace buslink {

// One COM port with the bus's fixed line settings (8N1, no flow control) and
// time-outs derived from the baud rate. The result codes are part of the
// contract with the link layers above.
class SerialPort {
 public:
  static constexpr int32_t kStateIdle = 0;
  static constexpr int32_t kStateWaiting = 1;
  static constexpr int32_t kStateClosed = 99;

  // Uses the machine's serial devices.
  SerialPort();
  // Uses the given device (the in-process simulator in tests).
  explicit SerialPort(std::unique_ptr<platform::SerialDevice> device);
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // 0 = open; -11 already open; -10 port number outside 1-99; -1 the device
  // cannot be opened; -2 event mask refused; -3 buffer sizes refused; -4 purge
  // refused; -5 time-outs refused; -6 line settings refused.
  int32_t open(int32_t portNumber, int32_t baudRate);
  int32_t close();
  int32_t isOpen() const;
  // Count written; -1 when the write fails; -2 unless the state is idle.
  int32_t write(const uint8_t* data, int32_t count);
  // Bytes received before the read time-out, 0..count; 0 on a closed port.
  int32_t read(uint8_t* buffer, int32_t count);
  // 1 = port closed; 2 = state is closed/aborted; else 0 once a byte arrived
  // (in *buffer) or the wait was aborted by close() from another thread.
  int32_t waitForByte(uint8_t* buffer);
  int32_t setRts(int32_t on);
  int32_t setDtr(int32_t on);
  int32_t setBaudRate(int32_t baudRate);
  int32_t purgeReceive();
  // Non-zero on success, like the operating system's own call.
  int32_t setReadTimeouts(uint32_t multiplier, uint32_t constant, uint32_t interval);

  int32_t state() const { return state_.load(); }
  platform::SerialTimeouts timeouts() const { return timeouts_; }

 private:
  std::unique_ptr<platform::SerialDevice> device_;
  std::atomic<int32_t> state_{kStateIdle};
  platform::SerialTimeouts timeouts_;
};

// k = 19200 / baud (integer division), at least 1: ms per byte of the
// time-outs.
uint32_t msPerByte(int32_t baudRate);

}  // namespace buslink
