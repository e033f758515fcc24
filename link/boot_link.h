#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "link/boot_image.h"
#include "link/serial_port.h"
#include "platform/clock.h"

namespace buslink {

// The link to a module's resident bootloader: frames of a command byte, its
// parameters and a check byte (0x55 XOR the bytes before it), replies of a
// fixed length per command. Holds the firmware image that it programs.
//
// The firmware window and the programming worker hand over control through
// state(); every field both threads touch is atomic. Closing the port from
// the window (abort) ends a worker's blocking wait.
class BootLink {
 public:
  static constexpr uint8_t kCheckSeed = 0x55;
  static constexpr int32_t kStateRun = 0;
  static constexpr int32_t kStateWaitForWindow = 1;
  static constexpr int32_t kStateProgram = 2;
  static constexpr int32_t kStateFinished = 3;
  static constexpr int32_t kStateAbort = 99;

  // Uses the machine's serial devices and clock.
  BootLink();
  // Uses the given device and clock (the in-process simulator in tests).
  BootLink(std::unique_ptr<platform::SerialDevice> device, platform::Clock& clock);
  BootLink(const BootLink&) = delete;
  BootLink& operator=(const BootLink&) = delete;

  // --- port level -------------------------------------------------------
  // -1 while the port is open.
  int32_t setPortNumber(int32_t portNumber);
  int32_t portNumber() const { return portNumber_; }
  // 4800, 9600, 19200; other rates -2; while the port is open a rate other
  // than the present one is refused with 1.
  int32_t setBaudRate(int32_t baudRate);
  int32_t baudRate() const { return baudRate_.load(); }
  // Puts the open port on the stored rate (after open9600 and sendRestart).
  int32_t applyBaudRate();
  // At the stored rate; the negative open code of SerialPort on failure.
  int32_t openPort();
  // 0 or 8036.
  int32_t open9600();
  int32_t resetPulse();
  int32_t close();

  // --- frames -------------------------------------------------------------
  // Sends the first txLength bytes of the transmit buffer (check byte
  // completed) and waits for a valid reply of rxLength bytes: 0, -10 (write
  // incomplete) or -20 (no valid reply after the retries).
  int32_t exchange(int txLength, int rxLength);
  std::array<uint8_t, 22>& transmitBuffer() { return tx_; }
  const std::array<uint8_t, 10>& receiveBuffer() const { return rx_; }

  // --- bootloader commands ------------------------------------------------
  // 0 when accepted; a positive version that is not; negative on a failed exchange.
  int32_t readBootloaderVersion();
  // 0 when the id equals the image's; the id when it differs; -1 for a
  // malformed reply; negative on a failed exchange.
  int32_t readDeviceId();
  int32_t enableProgramming();
  int32_t readFirmwareNumber();
  int32_t writeRunningNumber();
  int32_t eraseBlock(uint32_t address);
  int32_t writeChunk(uint32_t address, const uint8_t* data16);

  // --- finding the bootloader ---------------------------------------------
  int32_t detectEcho();
  // The number of 0x55 bytes heard (> 5) at the rate found, or 0.
  int32_t detectBaudRate();
  // 0 = found (echo detected, version read, synchronised); 1 = not found.
  int32_t waitForBootloader();
  int32_t drain();
  // Link command 15 to the image's family address, as a module frame.
  // 0, 8040, 8041 or 8028.
  int32_t sendRestart();
  // From the window thread: ends the worker's waits and closes the port.
  void abort();
  // Worker: asks the window (8093) to have the module switched off and on,
  // waits for its go, then finds the bootloader again.
  void resync();

  // --- programming ---------------------------------------------------------
  // Bootloader versions 2-5; 0 or a text ID.
  int32_t programSimple();
  // Every other version; 0 or a text ID.
  int32_t programBlocks();

  // --- image and results ---------------------------------------------------
  BootImage& image() { return image_; }
  const BootImage& image() const { return image_; }
  void setImage(BootImage image) { image_ = std::move(image); }

  std::atomic<int32_t>& state() { return state_; }
  int32_t lastResult() const { return lastResult_.load(); }
  bool echoMode() const { return echoMode_.load(); }
  std::atomic<bool>& synchronised() { return synchronised_; }
  bool longAddresses() const { return longAddresses_.load(); }
  int32_t bootloaderVersion() const { return bootloaderVersion_.load(); }
  uint32_t deviceId() const { return deviceId_.load(); }
  uint32_t firmwareNumber() const { return firmwareNumber_.load(); }
  // The module's present firmware as 0x00MMmmPP (set by the update procedure).
  std::atomic<uint32_t>& moduleVersion() { return moduleVersion_; }

  // How the worker reaches the window: a posted text with an optional value.
  void setPostHook(std::function<void(int32_t textId, int32_t value)> hook) {
    post_ = std::move(hook);
  }
  // Stepped once per chunk written.
  void setProgressHook(std::function<void()> hook) { progress_ = std::move(hook); }

  SerialPort& serialPort() { return port_; }
  platform::Clock& clock() { return clock_; }

 private:
  struct Chunk {
    uint32_t address = 0;
    std::array<uint8_t, 16> data{};
    bool firstRecord = false;
    int indexInRecord = 0;
  };
  int addressBytes(uint8_t* out, uint32_t address) const;
  bool readValid(int count);
  bool collectChunks(std::vector<std::vector<Chunk>>& records) const;
  int32_t writeWithResync(const std::vector<Chunk>& record, size_t index, uint32_t writeBlock);
  void post(int32_t textId, int32_t value);
  void step();

  SerialPort port_;
  platform::Clock& clock_;
  std::array<uint8_t, 10> rx_{};
  std::array<uint8_t, 22> tx_{};
  BootImage image_;
  int32_t portNumber_ = 0;
  std::atomic<int32_t> lastResult_{0};
  std::atomic<int32_t> state_{kStateRun};
  std::atomic<bool> echoMode_{false};
  std::atomic<bool> synchronised_{false};
  std::atomic<int32_t> baudRate_{9600};
  std::atomic<int32_t> bootloaderVersion_{0};
  std::atomic<uint32_t> deviceId_{0};
  std::atomic<uint32_t> firmwareNumber_{0};
  std::atomic<bool> longAddresses_{false};
  std::atomic<uint32_t> moduleVersion_{0};
  std::function<void(int32_t, int32_t)> post_;
  std::function<void()> progress_;
};

// 0x55 XOR the bytes.
uint8_t bootCheck(const uint8_t* bytes, int count);

}  // namespace buslink
