#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "sim/module_model.h"

namespace sim {

constexpr uint8_t kIgnitionAddress = 0xE0;
constexpr uint8_t kWrongPinCounter = 0xF5;
constexpr int kPinTries = 5;

// Special-function codes the ignition understands.
enum IgnitionSpecial : uint8_t {
  kSpecialLeaveInfo = 0x01,
  kSpecialSelectInfo = 0x03,
  kSpecialCommitInfo = 0x04,
  kSpecialPinStatus = 0x40,
  kSpecialPinHigh = 0x41,
  kSpecialPinLow = 0x42,
  kSpecialNewPinHigh = 0x43,
  kSpecialNewPinLow = 0x44,
  kSpecialLogMode = 0x30,
  kSpecialOsciMode = 0x20,
};

// With this value the log-mode code starts the 38 400 baud packet stream.
constexpr uint8_t kLogModeValue = 0x08;
// With this value the oscilloscope code starts the stream of trigger samples.
constexpr uint8_t kOsciModeValue = 0x35;

// PIN status bits (byte 2 of the reply to the status request).
constexpr uint8_t kPinBlocked = 0x01;
constexpr uint8_t kPinSet = 0x02;
constexpr uint8_t kPinGiven = 0x04;

// The programmable ignition at bus address 0xE0.
class IgnitionModel : public ModuleModel {
 public:
  static constexpr size_t kInfoSize = 255;
  // The area's page buffer holds one page of this many bytes.
  static constexpr size_t kInfoPage = 64;

  IgnitionModel();

  // A plausible configuration: 4 cylinders, 4 strokes, 2.5 ms charge time,
  // limiter 9000 rpm, short curves, serial number 0123456.
  static std::array<uint8_t, 256> defaultMemory();

  uint8_t pinStatus() const;
  bool infoSelected() const { return infoSelected_; }

  uint16_t pin = 0;  // 0 = no PIN set
  bool pinGiven = false;
  // The vehicle information area as committed; writes wait in a page buffer
  // until the PC commits them. The buffer holds one 64-byte page: a write to
  // another page reloads it, and what was not committed is lost.
  std::array<uint8_t, kInfoSize> info{};
  // Streams its log packets until a restart or a power cycle; frames at the
  // module rate are still understood meanwhile.
  bool logMode = false;
  // Streams its trigger inputs ("Oszimode") until a restart or a power cycle.
  bool osciMode = false;

 protected:
  Frame readByte(const Frame& request) override;
  Frame writeByte(const Frame& request) override;
  Frame specialFunction(const Frame& request) override;
  void onRestart() override;

 private:
  uint8_t infoByte(uint8_t address) const;
  void dropPendingInfo();

  bool infoSelected_ = false;
  std::array<std::optional<uint8_t>, kInfoSize> pendingInfo_{};
  std::optional<size_t> pendingPage_;
  uint8_t pinHigh_ = 0;
  uint8_t newPinHigh_ = 0;
};

}  // namespace sim
