#pragma once

#include "modules/loggers/lambda_display.h"
#include "modules/loggers/log_dialogs.h"
#include "modules/loggers/ui/logger_page.h"

namespace loggers {

// "Lambda-Anzeige" (page 206): the display's brightness by day and by
// night, and the conversion of its log.
class LambdaPage : public LoggerPage {
 public:
  static constexpr int32_t kRead = 5601;
  static constexpr int32_t kWrite = 5602;
  static constexpr int32_t kDay = 5607;
  static constexpr int32_t kNight = 5608;
  static constexpr int32_t kVersion = 5609;
  static constexpr int32_t kConvert = 5610;

  LambdaPage(shell::SettingsFile& settings, buslink::ModuleLink& link, shell::UserPrompts& prompts);
  void initialise() override;

 protected:
  void layout(QWidget* page, QGridLayout* grid) override;
  void prepare() override;
  void run(int32_t id) override;

 private:
  void convert();

  Brightness brightness_;
  LogDialogs dialogs_{"PfadLambdaLogDatei", "PfadLambdaLogOutDatei"};
};

}  // namespace loggers
