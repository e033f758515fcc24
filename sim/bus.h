#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "sim/bootloader_model.h"
#include "sim/faults.h"
#include "sim/frame.h"
#include "sim/ignition_model.h"
#include "sim/log_stream.h"
#include "sim/module_model.h"
#include "sim/osci_stream.h"
#include "sim/scenario.h"
#include "sim/serial_search.h"
#include "sim/transcript.h"

namespace sim {

// The bus adapter and the modules behind it. The adapter echoes every byte
// the PC sends; the modules assemble frames from those bytes and answer.
// Time is given by the caller (virtual in process, monotonic on a pty).
// Not thread-safe by itself: whoever drives it holds mutex().
class Bus {
 public:
  // The PC's receive buffer; what does not fit is lost, as on a real port.
  static constexpr size_t kOutputLimit = 4096;

  // Throws std::invalid_argument when validateScenario rejects the scenario.
  explicit Bus(const Scenario& scenario = Scenario());

  // One byte from the PC, sent at `baudRate`, arriving at `nowUs`.
  void receive(uint8_t byte, int baudRate, int64_t nowUs);

  bool hasOutput() const { return !output_.empty(); }
  size_t outputSize() const { return output_.size(); }
  // The next byte as the PC receives it: a byte sent at another rate than the
  // PC listens at (see setPcBaud) arrives garbled.
  uint8_t takeOutput();
  // The rate the next byte is sent at; 0: whatever rate the PC listens at.
  int nextOutputBaud() const { return output_.empty() ? 0 : output_.front().baudRate; }
  // The rate the PC's port listens at; 0 (the default) takes every byte as sent.
  void setPcBaud(int baudRate) { pcBaud_ = baudRate; }
  static constexpr uint8_t kGarbledByte = 0x00;
  void purgeOutput() { output_.clear(); }

  // Unasked traffic that is due at a time: the PC search, timed injections.
  std::optional<int64_t> nextEventUs() const;
  void advanceTo(int64_t nowUs);

  // A foreign device streams without a gap: there is always a next byte.
  bool lineBusy() const { return faults_.foreignStream; }
  uint8_t nextStreamByte();

  IgnitionModel* ignition() { return ignition_.get(); }
  // The ignition's log-mode packets (inactive while it is not in log mode).
  const LogStream& logStream() const { return logStream_; }
  // The ignition's oscilloscope frames (inactive outside its Oszimode).
  const OsciStream& osciStream() const { return osciStream_; }
  // The module a frame to `address` reaches now (0xE0: the ignition;
  // 0x20: the module selected by serial number, else a plain one at 0x20).
  ModuleModel* moduleAt(uint8_t address);
  SerialSearch& serialModules() { return serial_; }
  // The bootloader of the module at `address`, or nothing when it has none.
  BootloaderModel* bootloaderAt(uint8_t address);
  // Switches every module off and on: bootloaders announce themselves again.
  void powerCycle(int64_t nowUs);
  Faults& faults() { return faults_; }
  int moduleBaud() const { return moduleBaud_; }
  bool pcSearchDone() const { return pcSearchDone_; }
  int framesReceived() const { return frames_; }

  const std::vector<TranscriptEntry>& transcript() const { return transcript_; }
  // Hands over the entries recorded so far (a long-running server keeps none).
  std::vector<TranscriptEntry> takeTranscript();

  // Port numbers held by a device on this bus, so that a second opener fails.
  bool claimPort(int port) { return claimedPorts_.insert(port).second; }
  void releasePort(int port) { claimedPorts_.erase(port); }

  std::mutex& mutex() { return mutex_; }

 private:
  void handleFrame(const Frame& frame, int64_t nowUs);
  std::vector<uint8_t> dispatch(const Frame& frame);
  std::optional<uint8_t> echoFor(uint8_t byte, size_t position) const;
  void send(const std::vector<uint8_t>& bytes, int baudRate = 0);
  void send(uint8_t byte, int baudRate = 0);
  BootloaderModel* activeBootloader();
  void receiveAtBootloader(BootloaderModel& bl, uint8_t byte, int baudRate, int64_t nowUs);
  void forEachModule(const std::function<void(ModuleModel&)>& fn);
  bool injected(size_t index) const;
  void followLogMode(int64_t nowUs);
  void followOsciMode(int64_t nowUs);

  std::mutex mutex_;
  int moduleBaud_;
  Faults faults_;
  std::unique_ptr<IgnitionModel> ignition_;
  LogStream logStream_;
  OsciStream osciStream_;
  std::map<uint8_t, std::unique_ptr<ModuleModel>> modules_;
  SerialSearch serial_;

  FrameAssembler assembler_;
  struct PartialByte {
    uint8_t byte;
    std::optional<uint8_t> echo;
    int64_t atUs;
  };
  std::vector<PartialByte> partial_;
  int frames_ = 0;
  std::map<uint8_t, std::unique_ptr<BootloaderModel>> bootloaders_;
  struct OutputByte {
    uint8_t byte;
    int baudRate;  // 0: whatever rate the PC listens at
  };
  std::deque<OutputByte> output_;
  int pcBaud_ = 0;
  std::vector<TranscriptEntry> transcript_;

  int pcSearchIntervalMs_;
  int64_t nextPcSearchUs_ = 0;
  bool pcSearchDone_ = false;
  std::vector<bool> injected_;  // timed injections already sent
  uint16_t streamCounter_ = 0;
  int streamPos_ = 0;
  Frame streamFrame_{};
  std::set<int> claimedPorts_;
};

}  // namespace sim
