#pragma once

#include <QDialog>
#include <memory>

#include "modules/loggers/car_live.h"
#include "modules/loggers/vehicle_data.h"
#include "shell/ui/dialog_table.h"

class QTimer;

namespace buslink {
class ModuleLink;
}

namespace loggers {

// Dialog 171: the car logger's current values, polled every 100 ms while
// it is open. Ticks whose reads fail are passed over.
class CarLiveDialog : public QDialog {
 public:
  static constexpr int32_t kDialogKey = 171;
  static constexpr int32_t kSpeed = 5720;
  static constexpr int32_t kRpm = 5721;
  static constexpr int32_t kAccelerationX = 5722;
  static constexpr int32_t kAccelerationY = 5723;
  static constexpr int32_t kThrottle = 5724;
  static constexpr int32_t kLambdaA = 5725;
  static constexpr int32_t kLambdaB = 5726;
  static constexpr int32_t kSensor1 = 5727;  // ... 5730
  static constexpr int32_t kUnit1 = 5731;    // ... 5734
  static constexpr int32_t kVoltage = 5735;
  static constexpr int32_t kMarker = 5718;
  static constexpr int32_t kOk = 1;

  CarLiveDialog(buslink::ModuleLink& link, const VehicleData& vehicle, QWidget* parent);
  ~CarLiveDialog() override;

  // One timer tick (tests call it directly).
  void tick();
  QTimer* timer() const { return timer_; }

 private:
  void showValues(const LiveTexts& t);

  buslink::ModuleLink& link_;
  VehicleData vehicle_;
  SpeedTracker speed_;
  std::unique_ptr<shell::DialogTable> table_;
  QTimer* timer_;
};

}  // namespace loggers
