#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace spark {

// The working port as this viewer drives it. The window's port control
// implements it on the real serial port; tests record what is sent.
class ViewerPort {
 public:
  virtual ~ViewerPort() = default;
  // Line parameters such as "38400,n,8,1"; applies at once, also while open.
  virtual bool Settings(const std::string& text) = 0;
  virtual bool PortIsOpen() = 0;
  virtual bool OpenPort() = 0;
  virtual void ClosePort() = 0;
  // Errors are not reported: the log-mode command is simply repeated.
  virtual void Send(const std::vector<uint8_t>& bytes) = 0;
};

// Time and the event loop as the core's waits need them: received bytes,
// timers and clicks are handled while the core waits.
class EventPump {
 public:
  virtual ~EventPump() = default;
  // Monotonic microseconds.
  virtual int64_t nowMicros() = 0;
  virtual void letEventsRun() = 0;
};

}  // namespace spark
