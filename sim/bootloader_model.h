#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "sim/module_model.h"
#include "sim/scenario.h"

namespace sim {

// A module's resident bootloader: it announces itself with 0x55 bytes,
// answers the identification commands and erases and writes its flash.
// Frames are a command byte, parameters and a check byte (0x55 XOR the bytes
// before it); a frame that fails its check is dropped without an answer.
// Times are the bus's, in microseconds.
class BootloaderModel {
 public:
  BootloaderModel(const BootloaderSetup& setup, ModuleModel& module);

  const BootloaderSetup& setup() const { return setup_; }
  int baud() const { return setup_.baud; }
  // The module runs its bootloader (it does not answer link frames).
  bool active() const { return active_; }
  bool lineDead() const { return lineDead_; }

  // A restart (link command 15) or power-on: the bootloader announces itself.
  void start(int64_t nowUs);
  // Power off and on; the line stays as it is.
  void powerCycle(int64_t nowUs) { start(nowUs); }
  // The cut line works again.
  void restoreLine() { lineDead_ = false; }

  // One byte from the PC at the bootloader's rate.
  void receive(uint8_t byte, int64_t nowUs);
  // The next time something is due (a reply, an announcement, the firmware start).
  std::optional<int64_t> nextEventUs() const;
  // Appends what is due by nowUs to `out`.
  void advanceTo(int64_t nowUs, std::vector<uint8_t>& out);

  // The first write block at flash address 0 (the start of the firmware) holds data.
  bool firmwareIntact() const;

  std::vector<uint8_t> flash;
  uint32_t firmwareNumber = 0;
  bool programmingEnabled = false;
  int chunksReceived = 0;
  int erasesReceived = 0;
  int repliesSent = 0;
  int starts = 0;

 private:
  int frameLength(uint8_t command) const;
  void handleFrame(int64_t nowUs);
  void reply(std::vector<uint8_t> bytes, int64_t dueUs);
  uint32_t address() const;
  void writeChunk(uint32_t address, const uint8_t* data);
  void startFirmware();

  BootloaderSetup setup_;
  ModuleModel& module_;
  bool active_ = false;
  bool contacted_ = false;
  bool lineDead_ = false;
  int64_t startUs_ = 0;
  int64_t nextAnnounceUs_ = 0;
  std::vector<uint8_t> frame_;
  int64_t lastByteUs_ = 0;
  struct Pending {
    int64_t dueUs;
    std::vector<uint8_t> bytes;
  };
  std::deque<Pending> pending_;
  // The write block being collected, and its bytes.
  std::optional<uint32_t> blockAddress_;
  std::vector<uint8_t> blockBuffer_;
};

}  // namespace sim
