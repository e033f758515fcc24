#include "sim/sim_device.h"

#include <algorithm>
#include <mutex>
#include <thread>

namespace sim {

int64_t byteTimeNs(int baudRate) {
  return baudRate > 0 ? 10'000'000'000LL / baudRate : 0;
}

SimDevice::SimDevice(Bus& bus, VirtualClock& clock) : bus_(bus), clock_(clock) {}

SimDevice::~SimDevice() {
  closeDevice();
}

void SimDevice::setAvailablePorts(std::set<int> ports) {
  std::lock_guard lock(bus_.mutex());
  availablePorts_ = std::move(ports);
}

bool SimDevice::openDevice(int portNumber) {
  std::lock_guard lock(bus_.mutex());
  if (open_ || portNumber < 1 || portNumber > 99) return false;
  if (!availablePorts_.empty() && !availablePorts_.count(portNumber)) return false;
  if (!bus_.claimPort(portNumber)) return false;
  port_ = portNumber;
  aborted_ = false;
  open_ = true;
  return true;
}

void SimDevice::closeDevice() {
  aborted_ = true;
  std::lock_guard lock(bus_.mutex());
  if (!open_) return;
  bus_.releasePort(port_);
  open_ = false;
}

bool SimDevice::setBufferSizes(int receiveBytes, int transmitBytes) {
  return open_ && receiveBytes > 0 && transmitBytes > 0;
}

bool SimDevice::purge() {
  std::lock_guard lock(bus_.mutex());
  if (!open_) return false;
  bus_.purgeOutput();
  return true;
}

bool SimDevice::applyTimeouts(const platform::SerialTimeouts& timeouts) {
  std::lock_guard lock(bus_.mutex());
  if (!open_) return false;
  timeouts_ = timeouts;
  return true;
}

bool SimDevice::applyLineSettings(int baudRate) {
  return setBaudRate(baudRate);
}

bool SimDevice::setBaudRate(int baudRate) {
  std::lock_guard lock(bus_.mutex());
  if (!open_ || baudRate <= 0) return false;
  baud_ = baudRate;
  // The port now listens at this rate: bytes sent at another one arrive garbled.
  bus_.setPcBaud(baudRate);
  return true;
}

bool SimDevice::setRts(bool on) {
  std::lock_guard lock(bus_.mutex());
  if (!open_) return false;
  rts_ = on;
  return true;
}

bool SimDevice::setDtr(bool on) {
  std::lock_guard lock(bus_.mutex());
  if (!open_) return false;
  dtr_ = on;
  return true;
}

int SimDevice::write(const uint8_t* data, int count) {
  std::lock_guard lock(bus_.mutex());
  if (!open_ || count < 0) return -1;
  bus_.advanceTo(clock_.now_us());
  const int64_t t = byteTimeNs(baud_);
  for (int i = 0; i < count; ++i) {
    clock_.advanceNs(t);
    bus_.receive(data[i], baud_, clock_.now_us());
  }
  return count;
}

int SimDevice::read(uint8_t* buffer, int count) {
  if (count <= 0) return 0;
  int got = 0;
  {
    std::lock_guard lock(bus_.mutex());
    if (!open_ || aborted_) return 0;
    const int64_t timeoutMs =
        static_cast<int64_t>(timeouts_.readMultiplier) * count + timeouts_.readConstant;
    const int64_t deadlineNs = clock_.nowNs() + timeoutMs * 1000000;
    const int64_t t = byteTimeNs(baud_);
    bus_.advanceTo(clock_.now_us());
    while (got < count && !aborted_) {
      if (bus_.hasOutput()) {
        buffer[got++] = bus_.takeOutput();
      } else if (bus_.lineBusy()) {
        buffer[got++] = bus_.nextStreamByte();
      } else if (auto next = bus_.nextEventUs(); next && *next * 1000 <= deadlineNs) {
        clock_.advanceToNs(*next * 1000);
        bus_.advanceTo(clock_.now_us());
        continue;
      } else {
        break;
      }
      clock_.advanceNs(t);
      bus_.advanceTo(clock_.now_us());
    }
    if (got == count) return got;
    clock_.advanceToNs(deadlineNs);
  }
  // A caller that polls in a loop must not starve the thread that wants to close.
  std::this_thread::yield();
  return got;
}

}  // namespace sim
