#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

namespace shell {

constexpr int32_t kCommandArrowLeft = 7908;
constexpr int32_t kCommandArrowRight = 7909;

// Turns plain cursor left/right key presses anywhere in the application into
// commands. The keys are swallowed whether or not a handler takes the
// command, so focus navigation never sees them while the filter is active.
class ArrowKeyFilter : public QObject {
 public:
  explicit ArrowKeyFilter(std::function<void(int32_t command)> send);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(int32_t)> send_;
};

}  // namespace shell
