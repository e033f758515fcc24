#pragma once

#include <atomic>
#include <cstdint>
#include <set>

#include "platform/serial_device.h"
#include "sim/bus.h"
#include "sim/virtual_clock.h"

namespace sim {

// Nanoseconds one byte occupies the line: 10 bit times (start, 8 data, stop).
int64_t byteTimeNs(int baudRate);

// A COM port wired to the simulated bus, on virtual time. Writes reach the
// bus at once; reads return at once with what the bus has, and a read that
// comes up short costs its full time-out on the clock. Every byte moved
// costs its line time.
class SimDevice : public platform::SerialDevice {
 public:
  SimDevice(Bus& bus, VirtualClock& clock);
  ~SimDevice() override;

  // Only these port numbers exist; by default every port 1-99 does.
  void setAvailablePorts(std::set<int> ports);

  int portNumber() const { return port_; }
  int baudRate() const { return baud_; }
  bool rts() const { return rts_; }
  bool dtr() const { return dtr_; }
  platform::SerialTimeouts timeouts() const { return timeouts_; }

  bool openDevice(int portNumber) override;
  bool isOpen() const override { return open_; }
  void closeDevice() override;
  bool setBufferSizes(int receiveBytes, int transmitBytes) override;
  bool purge() override;
  bool applyTimeouts(const platform::SerialTimeouts& timeouts) override;
  bool applyLineSettings(int baudRate) override;
  bool setBaudRate(int baudRate) override;
  bool setRts(bool on) override;
  bool setDtr(bool on) override;
  int write(const uint8_t* data, int count) override;
  int read(uint8_t* buffer, int count) override;
  void abortRead() override { aborted_ = true; }

 private:
  Bus& bus_;
  VirtualClock& clock_;
  std::set<int> availablePorts_;
  std::atomic<bool> open_{false};
  std::atomic<bool> aborted_{false};
  int port_ = 0;
  int baud_ = 9600;
  bool rts_ = false;
  bool dtr_ = false;
  platform::SerialTimeouts timeouts_;
};

}  // namespace sim
