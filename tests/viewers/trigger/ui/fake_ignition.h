#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QTimer>
#include <array>
#include <cstdint>
#include <optional>

#include "sim/trigger_wheel.h"
#include "tests/viewers/common/ui/pty_port.h"

namespace trigger_ui_test {

// The bus adapter and an ignition module at the far end of a pseudo-
// terminal: echoes every frame, answers the identification reads from its
// memory, and after the oscilloscope command streams a 60-2 wheel at the
// rate of a 9600 baud line.
class FakeIgnition {
 public:
  explicit FakeIgnition(viewers_ui_test::PtyPort& line) : line_(line) {
    memory_.fill(0);
    memory_[0xFC] = 0x01;
    memory_[0xFD] = 0x23;
    memory_[0xFE] = 0x45;
    memory_[0xFF] = 0x67;
    memory_[1] = 4;
    memory_[2] = 4;
    memory_[99] = 60;
    memory_[100] = 2;
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
  }

  bool answers = true;
  int oscilloscopeCommands = 0;
  bool streaming() const { return wheel_.has_value(); }

 private:
  static QByteArray frame(uint8_t b0, uint8_t b1, uint8_t b2) {
    const char f[4] = {static_cast<char>(b0), static_cast<char>(b1), static_cast<char>(b2),
                       static_cast<char>(0x5A ^ b0 ^ b1 ^ b2)};
    return QByteArray(f, 4);
  }

  void poll() {
    received_ += line_.readAll();
    while (received_.size() >= 4) {
      const auto b = [this](int i) { return static_cast<uint8_t>(received_[i]); };
      const QByteArray request = received_.left(4);
      const uint8_t b0 = b(0), b1 = b(1), b2 = b(2);
      received_.remove(0, 4);
      line_.write(request);  // the adapter's echo
      if (!answers) continue;
      if (b0 == 0xE2) line_.write(frame(0xE2, b1, memory_[b1]));
      if (b0 == 0xE1) line_.write(frame(0xE1, 0x21, 0x05));
      if (b0 == 0xE0) line_.write(frame(0xE0, 0x03, 0x00));
      if (b0 == 0xEE && b1 == 0x20 && b2 == 0x35) {
        ++oscilloscopeCommands;
        line_.write(frame(0xEE, 0x20, 0x00));
        if (!wheel_) {
          sim::TriggerWheelSetup setup;
          setup.fromRpm = setup.toRpm = 200;
          wheel_.emplace(setup, 60, 2, 1920.0);
          clock_.start();
          sentFrames_ = 0;
        }
      }
    }
    if (!wheel_) return;
    // One frame per 40 bit times at 9600 baud.
    const int64_t due = clock_.nsecsElapsed() / 4166667;
    QByteArray out;
    for (; sentFrames_ < due; ++sentFrames_) {
      const auto [a, b] = wheel_->nextEight();
      out += frame(0xEE, a, b);
    }
    if (!out.isEmpty()) line_.write(out);
  }

  viewers_ui_test::PtyPort& line_;
  std::array<uint8_t, 256> memory_{};
  QByteArray received_;
  QTimer timer_;
  std::optional<sim::TriggerWheel> wheel_;
  QElapsedTimer clock_;
  int64_t sentFrames_ = 0;
};

}  // namespace trigger_ui_test
