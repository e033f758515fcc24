#pragma once

#include <QElapsedTimer>

#include "viewers/spark/viewer_port.h"

namespace viewers {
class ucCOM;
}

namespace spark {

// The window's port control as the core drives it.
class ComViewerPort : public ViewerPort {
 public:
  explicit ComViewerPort(viewers::ucCOM& com) : com_(com) {}

  bool Settings(const std::string& text) override;
  bool PortIsOpen() override;
  bool OpenPort() override;
  void ClosePort() override;
  void Send(const std::vector<uint8_t>& bytes) override;

 private:
  viewers::ucCOM& com_;
};

// Monotonic time since the window was made, and the window's event loop.
class QtEventPump : public EventPump {
 public:
  QtEventPump() { clock_.start(); }

  int64_t nowMicros() override { return clock_.nsecsElapsed() / 1000; }
  void letEventsRun() override;

 private:
  QElapsedTimer clock_;
};

}  // namespace spark
