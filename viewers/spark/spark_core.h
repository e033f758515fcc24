#pragma once

#include <cstdint>
#include <vector>

#include "viewers/spark/viewer_port.h"

namespace spark {

inline constexpr double kColumnPeriod = 0.01;  // seconds per column
inline constexpr int64_t kColumnPeriodMicros = 10000;
inline constexpr int64_t kDataTimeoutMicros = 1000000;
inline constexpr int64_t kDisturbedMicros = 2000000;
inline constexpr double kNoColumnMinimum = 100000.0;
inline constexpr double kBaselineMargin = 32.0;
// A stream that never shows a packet start (wrong rate, another device) must
// not grow the buffer without end; bytes before a start are dropped anyway.
inline constexpr size_t kMaxBufferedBytes = 64 * 1024;

// What a connection tick did, for the window to follow with its controls.
enum class ConnectionStep {
  Idle,         // connected and speeds arrive
  LogModeSent,  // connected, no speeds yet: the log-mode command went out
  Opened,       // enable "Pause" and the scale buttons
  OpenFailed,   // release "Verbinden" and tell kTextNoPort
  Closed,       // release "Pause", disable it and the scale buttons
};

// Everything of the rpm chart window that is not drawing: packet search,
// speeds per event, the 10 ms columns and the flags the window shows.
// Time is passed in (monotonic microseconds), so timer ticks are plain calls.
class SparkCore {
 public:
  // The chart keeps one column per pixel, indices 0 to `pictureWidth`.
  SparkCore(int pictureWidth, int pictureHeight, double cylinderCount);

  // --- receiving ----------------------------------------------------------
  void Receive(const uint8_t* bytes, size_t count, int64_t now);
  void Receive(const std::vector<uint8_t>& bytes, int64_t now) {
    Receive(bytes.data(), bytes.size(), now);
  }
  // Any port notification other than received bytes.
  void ComEvent(int64_t now);
  void GestörtTimerStarten(int64_t now);
  // Ends the disturbed period once 2 s passed since the last error; call it
  // from any tick (the column loop calls it itself).
  void GestörtTimerTick(int64_t now);

  // --- connection timer -----------------------------------------------------
  ConnectionStep AbfrageTimerTick(bool connectDown, ViewerPort& port, EventPump& pump);
  // "Verbinden" released by the user.
  void releaseConnect();

  // --- column loop ----------------------------------------------------------
  // Start of the loop: clocks started, every column 0, column index 0.
  void startColumnLoop(int64_t now);
  // One pass of the loop. True when a column was written (then the chart is
  // redrawn). While paused nothing advances; speeds still collect.
  bool columnPass(int64_t now, bool paused);

  // --- state ----------------------------------------------------------------
  int pictureWidth() const { return pictureWidth_; }
  double cylinderCount() const { return cylinderCount_; }
  void setCylinderCount(double count) { cylinderCount_ = count; }
  double strokes() const { return strokes_; }
  double columnMinimum() const { return columnMinimum_; }
  double columnMaximum() const { return columnMaximum_; }
  double heldMinimum() const { return heldMinimum_; }
  double heldMaximum() const { return heldMaximum_; }
  uint16_t columnIndex() const { return columnIndex_; }
  const std::vector<double>& minima() const { return minima_; }
  const std::vector<double>& maxima() const { return maxima_; }
  const std::vector<bool>& disturbedColumns() const { return disturbedColumns_; }
  bool dataFlag() const { return dataFlag_; }
  bool errorFlag() const { return errorFlag_; }
  bool disturbedFlag() const { return disturbedFlag_; }
  double phase() const { return phase_; }
  double baseline() const { return baseline_; }
  const std::vector<uint8_t>& receiveBuffer() const { return receiveBuffer_; }
  uint16_t lastTimeStamp() const { return lastTimeStamp_; }

 private:
  void takeSpeed(double speed);
  void decodePacket(const uint8_t* packet, int64_t now);
  void clearColumns();

  int pictureWidth_;
  double cylinderCount_;
  double strokes_ = 4.0;
  double columnMinimum_ = kNoColumnMinimum;
  double columnMaximum_ = 0.0;
  double heldMinimum_ = 0.0;
  double heldMaximum_ = 0.0;
  uint16_t columnIndex_ = 0;
  std::vector<double> minima_;
  std::vector<double> maxima_;
  std::vector<bool> disturbedColumns_;
  bool dataFlag_ = false;
  bool errorFlag_ = false;
  bool disturbedFlag_ = false;
  double phase_ = 0.0;
  double baseline_;
  std::vector<uint8_t> receiveBuffer_;
  // Bytes at the front of the buffer already known to hold no packet start.
  size_t searched_ = 0;
  uint16_t lastTimeStamp_ = 0;
  // The previous packet's last stamp belongs to this stream; without it the
  // first event has no interval (0 at start, or a stamp from long ago).
  bool lastTimeStampKnown_ = false;
  bool disturbedTimerRunning_ = false;
  int64_t disturbedTimerStart_ = 0;
  int64_t columnClock_ = 0;
  int64_t dataClock_ = 0;
};

}  // namespace spark
