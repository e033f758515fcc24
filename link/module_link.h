#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "link/serial_port.h"
#include "platform/clock.h"

namespace buslink {

// A module found by searchModules.
struct FoundModule {
  uint32_t serial = 0;  // BCD
  uint8_t typeHigh = 0;
  uint8_t typeLow = 0;
};

constexpr int kMaxFoundModules = 20;
using FoundModuleTable = std::array<FoundModule, kMaxFoundModules>;

// The one link between the program and the module bus: 4-byte checked frames
// {address | command, p1, p2, check}, echoed by the bus adapter, most of them
// answered by the addressed module. Every operation returns 0 or a text ID.
class ModuleLink {
 public:
  static constexpr uint8_t kCheckSeed = 0x5A;
  static constexpr int32_t kBaudRate = 9600;

  // Uses the machine's serial devices and clock.
  ModuleLink();
  // Uses the given device and clock (the in-process simulator in tests).
  ModuleLink(std::unique_ptr<platform::SerialDevice> device, platform::Clock& clock);
  ModuleLink(const ModuleLink&) = delete;
  ModuleLink& operator=(const ModuleLink&) = delete;

  // --- port level -------------------------------------------------------
  // Refused with 1 while the port is open.
  int32_t setPortNumber(int32_t portNumber);
  // The port number, plus 128 while the port is open.
  int32_t portNumber() const;
  int32_t openPort();
  int32_t selectModule(uint8_t busAddress);
  int32_t checkLineIdle();
  // Holds the line low for about 30 ms (a zero byte at 300 baud) to wake a
  // sleeping module, then reopens at the bus rate. Negative open codes of
  // SerialPort when the 300-baud open fails.
  int32_t sendWakePulse();
  int32_t sendWakeByte();
  void setNoReply(int32_t flag) { noReply_ = flag > 0 ? 1 : 0; }
  int32_t noReply() const { return noReply_; }
  // Called once per frame sent (the wait window's progress bar).
  void setProgressHook(std::function<void()> hook) { progress_ = std::move(hook); }
  // The few link operations that tell the user themselves (a wrong serial
  // number, a failed PC search) report through this hook.
  void setMessageHook(std::function<void(int32_t textId)> hook) { message_ = std::move(hook); }
  int32_t close();

  // --- frames -------------------------------------------------------------
  int32_t sendFrame(uint8_t byte0, uint8_t byte1, uint8_t byte2);
  int32_t receiveFrame();
  int32_t checkReply(uint8_t command);
  // 4 with the two data bytes of a ';' stream frame, 0 on time-out.
  int32_t readStreamFrame(uint8_t& data1, uint8_t& data2);
  // The last frame read (echo, reply or stream frame).
  const std::array<uint8_t, 4>& receiveBuffer() const { return rx_; }
  uint8_t busAddress() const { return busAddress_; }

  // --- module commands ----------------------------------------------------
  int32_t readTypeId(uint16_t& type);
  int32_t readFirmwareVersion(uint16_t& version);
  int32_t readRequiredSoftwareVersion(uint16_t& version);
  int32_t readByte(uint8_t address, uint8_t& value);
  // value is wider than a byte so that callers' out-of-range values are
  // refused (8045) instead of silently truncated.
  int32_t writeByte(uint8_t address, uint32_t value);
  // Index above 5 returns 1 and sends nothing.
  int32_t readStatusByte(uint8_t index, uint8_t& value);
  int32_t setTestOutput(uint8_t index, uint8_t state);
  int32_t readLiveValue(uint8_t index, uint16_t& value);
  int32_t readLiveValueLenient(uint8_t index, uint16_t& value);
  int32_t readLiveBytes(uint8_t index, uint8_t& byte1, uint8_t& byte2);
  int32_t readPeriod(uint16_t& period);
  int32_t displayControl(uint8_t channel, uint8_t code);
  int32_t storeLearnPoint(uint8_t value);
  // Sends the BCD of (value mod 100).
  int32_t writeClockRegister(uint8_t reg, int32_t value);
  int32_t selectPage(uint8_t page);
  int32_t setOutputValue(uint8_t channel, uint8_t value);
  // The reply's byte 1 and byte 2 come back in code and value.
  int32_t specialFunction(uint8_t& code, uint8_t& value);
  int32_t restartModule();

  int32_t readWord(uint8_t address, uint16_t& value);
  int32_t writeWord(uint8_t address, uint32_t value);
  int32_t readSerialNumber(uint32_t& serial);
  int32_t writeSerialNumber(uint32_t serial);

  // --- address-less frames ------------------------------------------------
  int32_t sendTuningFrame();
  int32_t searchBit(uint8_t bit, uint8_t value);
  int32_t markFound(uint8_t index, uint8_t value);
  int32_t selectSerialHigh(uint8_t byte1, uint8_t byte2);
  int32_t selectSerialLow(uint8_t byte1, uint8_t byte2);
  int32_t resetSearch();
  int32_t selectBySerial(uint32_t serialBcd);
  int32_t pcSearchStep();
  int32_t waitForPcSearch();
  // The number of modules found (0-20), or a text ID above 20.
  int32_t searchModules(FoundModuleTable& table);

  SerialPort& serialPort() { return port_; }
  platform::Clock& clock() { return clock_; }

 private:
  int32_t sendAddressed(uint8_t command, uint8_t byte1, uint8_t byte2);
  int32_t identify(uint8_t byte2, uint16_t& word);
  void report(int32_t textId);

  SerialPort port_;
  platform::Clock& clock_;
  std::array<uint8_t, 4> rx_{};
  std::array<uint8_t, 4> tx_{};
  uint8_t busAddress_ = 0;
  int32_t portNumber_ = 0;
  int32_t noReply_ = 0;
  std::function<void()> progress_;
  std::function<void(int32_t)> message_;
};

// 0x5A XOR the three bytes.
uint8_t frameCheck(uint8_t byte0, uint8_t byte1, uint8_t byte2);

}  // namespace buslink
