// Decoding cost of the rpm chart: a 10-minute log-mode stream as it arrives
// at 38 400 baud with the packets back to back (the most the line carries:
// 22 bytes x 10 bit = 5.729 ms per packet, 104 727 packets), handed over in
// 8-byte arrivals (about one notification per 2 ms), with a column pass
// every 10 ms of line time, as the window runs it. The stamps are those of
// an engine at 6000 rpm with 4 cylinders (1250 ticks of 4 us per event, the
// module's counter wrapping at 65 536).
//
// The bound is 1 % of a packet's line time: decoding then takes at most a
// hundredth of the window thread while the line is full. Exit status 1 above
// it, or when the decoded speeds are not those of the generated engine.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "viewers/spark/log_packet.h"
#include "viewers/spark/spark_core.h"

namespace {

constexpr double kBaud = 38400.0;
constexpr double kBitsPerByte = 10.0;
constexpr double kSeconds = 600.0;
constexpr int kArrivalBytes = 8;
constexpr uint16_t kTicksPerEvent = 1250;
constexpr double kCylinders = 4.0;
constexpr double kBoundShare = 0.01;

std::vector<uint8_t> makeStream(int packets) {
  std::vector<uint8_t> stream;
  stream.reserve(static_cast<size_t>(packets) * spark::kPacketSize);
  uint16_t stamp = 0;
  for (int p = 0; p < packets; ++p) {
    uint8_t packet[spark::kPacketSize] = {spark::kPacketStart, static_cast<uint8_t>(p)};
    for (int i = 0; i < spark::kStampsPerPacket; ++i) {
      stamp = static_cast<uint16_t>(stamp + kTicksPerEvent);
      packet[2 + 2 * i] = static_cast<uint8_t>(stamp >> 8);
      packet[3 + 2 * i] = static_cast<uint8_t>(stamp);
    }
    for (int i = 10; i < spark::kPacketSize - 1; ++i) packet[i] = static_cast<uint8_t>(p * 7 + i);
    uint8_t x = 0;
    for (int i = 0; i < spark::kPacketSize - 1; ++i) x ^= packet[i];
    packet[spark::kPacketSize - 1] = static_cast<uint8_t>(x ^ spark::kPacketCheck);
    stream.insert(stream.end(), packet, packet + spark::kPacketSize);
  }
  return stream;
}

}  // namespace

int main() {
  const double byteMicros = kBitsPerByte / kBaud * 1e6;
  const double packetMicros = spark::kPacketSize * byteMicros;
  const int packets = static_cast<int>(kSeconds * 1e6 / packetMicros);
  const std::vector<uint8_t> stream = makeStream(packets);

  spark::SparkCore core(857, 313, kCylinders);
  core.startColumnLoop(0);
  long columns = 0;
  double lowest = 1e9;
  double highest = 0.0;

  const auto begin = std::chrono::steady_clock::now();
  for (size_t at = 0; at < stream.size(); at += kArrivalBytes) {
    const size_t n = std::min<size_t>(kArrivalBytes, stream.size() - at);
    const auto now = static_cast<int64_t>((at + n) * byteMicros);
    core.Receive(stream.data() + at, n, now);
    if (core.columnPass(now, false)) {
      ++columns;
      const size_t k = core.columnIndex() == 0 ? core.minima().size() - 1 : core.columnIndex() - 1u;
      if (core.maxima()[k] > 0.0) {
        lowest = std::min(lowest, core.minima()[k]);
        highest = std::max(highest, core.maxima()[k]);
      }
    }
  }
  const auto end = std::chrono::steady_clock::now();

  const double totalMicros = std::chrono::duration<double, std::micro>(end - begin).count();
  const double perPacket = totalMicros / packets;
  const double bound = kBoundShare * packetMicros;
  // 30 000 000 / (delta x cylinders): 1250 ticks give 6000 rpm; a wrap of the
  // counter is counted as 65 535, so that interval reads 1249 ticks.
  const double expectLow = 30000000.0 / (kTicksPerEvent * kCylinders);
  const double expectHigh = 30000000.0 / ((kTicksPerEvent - 1) * kCylinders);
  const bool speedsOk = lowest >= expectLow - 1e-6 && highest <= expectHigh + 1e-6 &&
                        !core.disturbedFlag() && core.dataFlag();

  std::printf("stream: %d packets, %zu bytes, %.1f s of line time at 38400 baud\n", packets,
              stream.size(), packets * packetMicros / 1e6);
  std::printf("columns written: %ld, speeds %.1f to %.1f rpm (expected %.1f to %.1f)\n", columns,
              lowest, highest, expectLow, expectHigh);
  std::printf("total decoding time: %.1f ms\n", totalMicros / 1000.0);
  std::printf("time per packet: %.3f us (bound %.1f us = 1 %% of %.1f us line time, ratio %.2e)\n",
              perPacket, bound, packetMicros, perPacket / packetMicros);
  if (!speedsOk) {
    std::printf("FAIL: decoded speeds differ from the generated engine\n");
    return 1;
  }
  if (perPacket > bound) {
    std::printf("FAIL: above the bound\n");
    return 1;
  }
  return 0;
}
