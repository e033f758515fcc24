#pragma once

#include <QElapsedTimer>

#include "viewers/spark/viewer_port.h"

namespace trigger {

// The window's event loop as the module connection waits on it. A pass
// that finds nothing to do rests a little, so a 0.1 s wait for an answer
// does not keep a core busy; at 9600 baud a frame takes 4 ms, so the rest
// delays nothing.
class TriggerPump : public spark::EventPump {
 public:
  TriggerPump() { clock_.start(); }

  int64_t nowMicros() override { return clock_.nsecsElapsed() / 1000; }
  void letEventsRun() override;

 private:
  QElapsedTimer clock_;
};

}  // namespace trigger
