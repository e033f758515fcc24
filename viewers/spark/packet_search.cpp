// The receive side of SparkCore: packet search over the receive buffer and
// the speeds of each packet's four ignition events.
#include <algorithm>

#include "viewers/spark/log_packet.h"
#include "viewers/spark/spark_core.h"

namespace spark {

void SparkCore::Receive(const uint8_t* bytes, size_t count, int64_t now) {
  std::vector<uint8_t>& buffer = receiveBuffer_;
  buffer.insert(buffer.end(), bytes, bytes + count);

  size_t start = 0;
  for (;;) {
    // Searching again before every packet, not only once per arrival: after
    // a lost byte the rest of a long arrival would otherwise be decoded out
    // of step.
    const auto from = buffer.begin() + static_cast<std::ptrdiff_t>(std::max(start, searched_));
    const auto found = std::find(from, buffer.end(), kPacketStart);
    if (found == buffer.end()) {
      searched_ = buffer.size();
      break;
    }
    start = static_cast<size_t>(found - buffer.begin());
    if (buffer.size() - start < static_cast<size_t>(kPacketSize)) {
      searched_ = start;
      break;
    }
    decodePacket(buffer.data() + start, now);
    start += kPacketSize;
  }
  buffer.erase(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(start));
  searched_ -= start;

  if (searched_ == buffer.size() && buffer.size() > kMaxBufferedBytes) {
    buffer.erase(buffer.begin(),
                 buffer.begin() + static_cast<std::ptrdiff_t>(buffer.size() - kMaxBufferedBytes));
    searched_ = buffer.size();
  }
}

void SparkCore::decodePacket(const uint8_t* packet, int64_t now) {
  // A packet with a bad check still counts: its column is drawn as a gap.
  if (!packetCheckOk(packet)) {
    errorFlag_ = true;
    GestörtTimerStarten(now);
  }
  const Stamps stamps = packetStamps(packet);
  uint16_t previous = lastTimeStamp_;
  for (int i = 0; i < kStampsPerPacket; ++i) {
    if (i > 0 || lastTimeStampKnown_) {
      const uint32_t delta = stampDelta(previous, stamps[i]);
      // Only 65 535 followed by 0 gives 0 ticks; it has no finite speed.
      if (delta > 0) takeSpeed(speedFromDelta(delta, cylinderCount_, strokes_));
    }
    previous = stamps[i];
  }
  lastTimeStamp_ = stamps[kStampsPerPacket - 1];
  lastTimeStampKnown_ = true;
}

void SparkCore::takeSpeed(double speed) {
  if (speed > columnMaximum_) columnMaximum_ = speed;
  if (speed < columnMinimum_) columnMinimum_ = speed;
}

}  // namespace spark
