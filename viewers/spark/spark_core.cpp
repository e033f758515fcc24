#include "viewers/spark/spark_core.h"

#include <algorithm>

#include "viewers/spark/log_mode.h"

namespace spark {

SparkCore::SparkCore(int pictureWidth, int pictureHeight, double cylinderCount)
    : pictureWidth_(std::max(pictureWidth, 0)),
      cylinderCount_(cylinderCount),
      minima_(static_cast<size_t>(pictureWidth_) + 1, 0.0),
      maxima_(static_cast<size_t>(pictureWidth_) + 1, 0.0),
      disturbedColumns_(static_cast<size_t>(pictureWidth_) + 1, false),
      baseline_(pictureHeight - kBaselineMargin) {}

void SparkCore::ComEvent(int64_t now) {
  errorFlag_ = true;
  GestörtTimerStarten(now);
}

void SparkCore::GestörtTimerStarten(int64_t now) {
  disturbedFlag_ = true;
  disturbedTimerRunning_ = true;
  disturbedTimerStart_ = now;
}

void SparkCore::GestörtTimerTick(int64_t now) {
  if (disturbedTimerRunning_ && now - disturbedTimerStart_ >= kDisturbedMicros) {
    disturbedTimerRunning_ = false;
    disturbedFlag_ = false;
  }
}

ConnectionStep SparkCore::AbfrageTimerTick(bool connectDown, ViewerPort& port, EventPump& pump) {
  if (!connectDown) {
    port.ClosePort();
    return ConnectionStep::Closed;
  }
  if (port.PortIsOpen()) {
    if (dataFlag_) return ConnectionStep::Idle;
    SchalteAufLogmode(port, pump);
    return ConnectionStep::LogModeSent;
  }
  if (!port.OpenPort()) {
    port.ClosePort();
    return ConnectionStep::OpenFailed;
  }
  return ConnectionStep::Opened;
}

void SparkCore::releaseConnect() {
  clearColumns();
  lastTimeStampKnown_ = false;
}

void SparkCore::clearColumns() {
  std::fill(minima_.begin(), minima_.end(), 0.0);
  std::fill(maxima_.begin(), maxima_.end(), 0.0);
}

void SparkCore::startColumnLoop(int64_t now) {
  columnClock_ = now;
  dataClock_ = now;
  clearColumns();
  columnIndex_ = 0;
}

bool SparkCore::columnPass(int64_t now, bool paused) {
  GestörtTimerTick(now);
  if (paused || now - columnClock_ < kColumnPeriodMicros) return false;
  columnClock_ = now;
  phase_ += kColumnPeriod;
  if (phase_ > 1.0) phase_ -= 1.0;

  const size_t k = columnIndex_;
  if (columnMinimum_ <= columnMaximum_) {
    dataClock_ = now;
    minima_[k] = heldMinimum_ = columnMinimum_;
    maxima_[k] = heldMaximum_ = columnMaximum_;
    dataFlag_ = true;
  } else {
    if (now - dataClock_ > kDataTimeoutMicros) {
      heldMinimum_ = heldMaximum_ = 0.0;
      dataFlag_ = false;
      // The 16-bit stamps wrap every 262 ms; after such a silence the
      // previous stamp says nothing about the next event.
      lastTimeStampKnown_ = false;
    }
    minima_[k] = heldMinimum_;
    maxima_[k] = heldMaximum_;
  }
  disturbedColumns_[k] = errorFlag_;
  errorFlag_ = false;

  ++columnIndex_;
  if (columnIndex_ > pictureWidth_) columnIndex_ = 0;
  columnMaximum_ = 0.0;
  columnMinimum_ = kNoColumnMinimum;
  return true;
}

}  // namespace spark
