#pragma once

#include <functional>
#include <memory>

#include "modules/loggers/log_dialogs.h"
#include "modules/loggers/ui/logger_page.h"

class QDialog;

namespace loggers {

struct VehicleData;

// "Car-Logger" (page 214): prepares the card, sets the logger's clock and
// options, chooses the vehicle file, shows the live values and converts the
// recorded log.
class CarLoggerPage : public LoggerPage {
 public:
  static constexpr int32_t kCreate = 5701;
  static constexpr int32_t kConvert = 5702;
  static constexpr int32_t kVersion = 5703;
  static constexpr int32_t kHours = 5704;
  static constexpr int32_t kKiloBytes = 5705;
  static constexpr int32_t kSetClock = 5706;
  static constexpr int32_t kChooseVehicle = 5707;
  static constexpr int32_t kVehicle = 5708;
  static constexpr int32_t kLive = 5709;
  static constexpr int32_t kLogIgnition = 5710;
  static constexpr int32_t kLogZor = 5711;
  static constexpr int32_t kBaud9600 = 5712;

  CarLoggerPage(shell::SettingsFile& settings, buslink::ModuleLink& link,
                shell::UserPrompts& prompts);
  void initialise() override;

  // How the live dialog is run (tests replace exec() to drive it).
  using RunDialog = std::function<void(QDialog&)>;
  void setRunDialog(RunDialog run) { runDialog_ = std::move(run); }

 protected:
  void layout(QWidget* page, QGridLayout* grid) override;
  void prepare() override;
  void run(int32_t id) override;

 private:
  void hoursLeft();
  void create();
  void chooseVehicle();
  void convert();
  void live();
  void setClock();

  LogDialogs dialogs_{"PfadLogDatei", "PfadLogOutDatei"};
  shell::FileDialog vehicleDialog_;
  RunDialog runDialog_;
};

}  // namespace loggers
