#pragma once

#include "modules/loggers/rpm_logger.h"
#include "modules/loggers/ui/logger_page.h"

namespace loggers {

// "Rpm-Logger" (page 208): the speed limit, and how long and how often the
// engine ran above it.
class RpmLoggerPage : public LoggerPage {
 public:
  static constexpr int32_t kRead = 5001;
  static constexpr int32_t kWrite = 5002;
  static constexpr int32_t kClear = 5003;
  static constexpr int32_t kLimit = 5004;
  static constexpr int32_t kMaxSpeed = 5005;
  static constexpr int32_t kCount5to49 = 5006;
  static constexpr int32_t kCount50to511 = 5007;
  static constexpr int32_t kCountOver511 = 5008;
  static constexpr int32_t kCylinders = 5009;
  static constexpr int32_t kStrokes = 5010;
  static constexpr int32_t kTotal = 5011;
  static constexpr int32_t kVersion = 5012;

  RpmLoggerPage(shell::SettingsFile& settings, buslink::ModuleLink& link,
                shell::UserPrompts& prompts);

 protected:
  void layout(QWidget* page, QGridLayout* grid) override;
  void prepare() override;
  void run(int32_t id) override;

 private:
  void showValues();
  bool takeValues();

  RpmLoggerValues values_;
};

}  // namespace loggers
