#pragma once

#include "modules/loggers/log_dialogs.h"
#include "modules/loggers/serial_logger.h"
#include "modules/loggers/ui/logger_page.h"

namespace loggers {

// "Seriell-Logger" (page 209): what the logger records from a serial line,
// its clock, and its card's log file.
class SerialLoggerPage : public LoggerPage {
 public:
  static constexpr int32_t kVersion = 7001;
  static constexpr int32_t kIdentifier = 7002;
  static constexpr int32_t kMask = 7003;
  static constexpr int32_t kByteCount = 7004;
  static constexpr int32_t kCrc = 7005;
  static constexpr int32_t kRateList = 7006;
  static constexpr int32_t kRead = 7007;
  static constexpr int32_t kWrite = 7008;
  static constexpr int32_t kStandard = 7020;
  static constexpr int32_t kSelective = 7021;
  static constexpr int32_t kDso = 7022;
  static constexpr int32_t kZor = 7023;
  static constexpr int32_t kCreateLog = 7030;
  static constexpr int32_t kCopyLog = 7031;
  static constexpr int32_t kLogSize = 7032;

  SerialLoggerPage(shell::SettingsFile& settings, buslink::ModuleLink& link,
                   shell::UserPrompts& prompts);
  void initialise() override;
  const SerialLoggerSettings& settings() const { return values_; }

 protected:
  void layout(QWidget* page, QGridLayout* grid) override;
  void prepare() override;
  void run(int32_t id) override;

 private:
  void showValues();
  void takeValues();
  void createLog();
  void copyLog();

  SerialLoggerSettings values_;
  LogDialogs dialogs_{"PfadLogDatei", "PfadLogOutDatei"};
};

}  // namespace loggers
