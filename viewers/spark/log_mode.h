#pragma once

#include <array>
#include <cstdint>

#include "viewers/spark/viewer_port.h"

namespace spark {

inline constexpr uint8_t kIgnitionAddress = 0xE0;
inline constexpr uint8_t kSpecialFunction = 14;
inline constexpr uint8_t kLogModeCode = 0x30;
inline constexpr uint8_t kLogModeValue = 0x08;
inline constexpr const char* kCommandSettings = "9600,n,8,1";
inline constexpr const char* kLogSettings = "38400,n,8,1";
inline constexpr int64_t kLogModeWaitMicros = 10000;

// A module frame {address | command, p1, p2, check}; check = 0x5A XOR the
// other three.
std::array<uint8_t, 4> moduleFrame(uint8_t address, uint8_t command, uint8_t p1, uint8_t p2);

// Sends the ignition's log-mode command at the command rate and returns to
// the log rate after 10 ms. Nothing is awaited: the echo and any answer are
// dropped by the packet search, and the caller repeats the command until
// speeds arrive.
void SchalteAufLogmode(ViewerPort& port, EventPump& pump);

}  // namespace spark
