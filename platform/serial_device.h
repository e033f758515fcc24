#pragma once

#include <cstdint>

namespace platform {

// The five time-out values of a serial port, in milliseconds. A read of n
// bytes waits at most readMultiplier * n + readConstant in total; a write of
// n bytes at most writeMultiplier * n + writeConstant. The interval value is
// kept for completeness; the bus never uses it.
struct SerialTimeouts {
  uint32_t readInterval = 0;
  uint32_t readMultiplier = 0;
  uint32_t readConstant = 0;
  uint32_t writeMultiplier = 0;
  uint32_t writeConstant = 0;
};

// The operating-system side of one COM port. SerialPort (link/) keeps the
// state machine and result codes; a device only does the raw work, so the
// real termios device and the in-process bus simulator are interchangeable.
//
// Thread rules: read() may block on one thread while abortRead() and then
// closeDevice() are called from another; abortRead() must make a blocked
// read() return promptly, and closeDevice() must not free anything a running
// read() still uses.
class SerialDevice {
 public:
  virtual ~SerialDevice() = default;

  // Opens COM `portNumber` (1-99) exclusively. False when the device does
  // not exist or is held by someone else.
  virtual bool openDevice(int portNumber) = 0;
  virtual bool isOpen() const = 0;
  virtual void closeDevice() = 0;

  virtual bool setBufferSizes(int receiveBytes, int transmitBytes) = 0;
  // Discards both directions' queued bytes.
  virtual bool purge() = 0;
  // Discards only the bytes received and not yet read.
  virtual bool purgeReceive() { return purge(); }
  virtual bool applyTimeouts(const SerialTimeouts& timeouts) = 0;
  // 8 data bits, no parity, 1 stop bit, raw binary, no flow control of any
  // kind, RTS and DTR left to the program.
  virtual bool applyLineSettings(int baudRate) = 0;
  // Changes only the baud rate of an open device.
  virtual bool setBaudRate(int baudRate) = 0;
  virtual bool setRts(bool on) = 0;
  virtual bool setDtr(bool on) = 0;

  // Returns the count written, or -1.
  virtual int write(const uint8_t* data, int count) = 0;
  // Returns the bytes that arrived before the total read time-out, 0..count.
  virtual int read(uint8_t* buffer, int count) = 0;
  // Ends a read() that blocks on another thread; later reads return at once
  // until the device is opened again.
  virtual void abortRead() = 0;
};

}  // namespace platform
