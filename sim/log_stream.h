#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sim/scenario.h"

namespace sim {

// The ignition's log-mode stream: after every fourth spark one 22-byte
// packet at 38 400 baud, {0xF2, packet number, the four spark time stamps
// (big-endian, 4 us ticks of a 16-bit counter), eleven zero bytes, a byte
// that makes the XOR of all 22 bytes 0x3A}. The engine turns at the
// scenario's rpm (steady or ramping) or, without one, fires every period
// word; a misfire is a spark that does not come, so its stamp is missing.
class LogStream {
 public:
  static constexpr int kBaud = 38400;
  static constexpr size_t kPacketSize = 22;
  static constexpr uint8_t kPacketStart = 0xF2;
  static constexpr uint8_t kPacketCheck = 0x3A;
  static constexpr int kSparksPerPacket = 4;
  static constexpr int kTickUs = 4;

  explicit LogStream(LogModeSetup setup = {}) : setup_(std::move(setup)) {}

  // Log mode begins at `nowUs`. `cylinders` and `strokes` as the module is
  // configured; `periodWord` is used when the scenario gives no rpm.
  void start(int64_t nowUs, int cylinders, int strokes, uint16_t periodWord);
  void stop();
  bool active() const { return active_; }

  // When the next packet is complete (its fourth spark); nothing while the
  // engine stands still.
  std::optional<int64_t> nextPacketUs() const;
  // Appends every packet completed by `nowUs`.
  void advanceTo(int64_t nowUs, std::vector<uint8_t>& out);

  int packetsSent() const { return packets_; }

  // Ticks from one spark to the next at `rpm`: a four-stroke cylinder fires
  // every second revolution, a two-stroke one every revolution.
  static double sparkTicks(double rpm, int cylinders, int strokes);

 private:
  double rpmAt(double ticksSinceStart) const;
  void planPacket();

  LogModeSetup setup_;
  bool active_ = false;
  int64_t startUs_ = 0;
  int cylinders_ = 4;
  int strokes_ = 4;
  uint16_t periodWord_ = 0;
  double lastSparkTicks_ = 0;  // since the start, misfires included
  int sparks_ = 0;             // spark slots so far, misfires included
  int packets_ = 0;
  std::vector<double> planned_;  // the next packet's spark times, ticks since the start
};

}  // namespace sim
