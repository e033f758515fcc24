#pragma once

#include <atomic>
#include <shared_mutex>

#include "platform/serial_device.h"

namespace platform {

// A COM port on a POSIX serial device (termios). COM numbers resolve through
// comDevicePath(). The device is held exclusively: TIOCEXCL keeps out other
// non-root openers and an advisory flock() keeps out everyone who asks,
// including root and this program's second link.
class TermiosDevice : public SerialDevice {
 public:
  TermiosDevice();
  ~TermiosDevice() override;
  TermiosDevice(const TermiosDevice&) = delete;
  TermiosDevice& operator=(const TermiosDevice&) = delete;

  bool openDevice(int portNumber) override;
  bool isOpen() const override { return fd_.load() >= 0; }
  void closeDevice() override;
  bool setBufferSizes(int receiveBytes, int transmitBytes) override;
  bool purge() override;
  bool purgeReceive() override;
  bool applyTimeouts(const SerialTimeouts& timeouts) override;
  bool applyLineSettings(int baudRate) override;
  bool setBaudRate(int baudRate) override;
  bool setRts(bool on) override;
  bool setDtr(bool on) override;
  int write(const uint8_t* data, int count) override;
  int read(uint8_t* buffer, int count) override;
  void abortRead() override;

  // The open descriptor, -1 while closed: for an event loop to watch for
  // arrivals. Reading and writing still go through this object.
  int nativeHandle() const { return fd_.load(); }

 private:
  bool setModemBit(int fd, int bit, bool on);
  void requestLowLatency(int fd, const char* path);
  // Waits until the deadline or an abort, whichever comes first.
  void waitQuiet(int64_t deadlineUs);

  std::atomic<int> fd_{-1};
  int wakeFd_ = -1;  // eventfd that ends a blocked read or write
  std::atomic<bool> aborted_{false};
  // Reads and writes hold it shared for as long as they use the descriptor;
  // closing takes it exclusively, so a descriptor number is never reused
  // under a running operation.
  std::shared_mutex fdMutex_;
  std::atomic<uint32_t> readMultiplier_{0}, readConstant_{0};
  std::atomic<uint32_t> writeMultiplier_{0}, writeConstant_{0};
};

// The termios speed constant of a baud rate, or 0 when there is none.
unsigned baudConstant(int baudRate);

}  // namespace platform
