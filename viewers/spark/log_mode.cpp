#include "viewers/spark/log_mode.h"

namespace spark {

std::array<uint8_t, 4> moduleFrame(uint8_t address, uint8_t command, uint8_t p1, uint8_t p2) {
  const uint8_t b0 = static_cast<uint8_t>(address | (command & 0x0F));
  return {b0, p1, p2, static_cast<uint8_t>(0x5A ^ b0 ^ p1 ^ p2)};
}

void SchalteAufLogmode(ViewerPort& port, EventPump& pump) {
  port.Settings(kCommandSettings);
  const auto frame = moduleFrame(kIgnitionAddress, kSpecialFunction, kLogModeCode, kLogModeValue);
  port.Send({frame.begin(), frame.end()});
  const int64_t start = pump.nowMicros();
  while (pump.nowMicros() - start < kLogModeWaitMicros) pump.letEventsRun();
  port.Settings(kLogSettings);
}

}  // namespace spark
