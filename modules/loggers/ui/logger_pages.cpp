#include "modules/loggers/ui/logger_pages.h"

#include "modules/loggers/ui/car_logger_page.h"
#include "modules/loggers/ui/lambda_page.h"
#include "modules/loggers/ui/rpm_logger_page.h"
#include "modules/loggers/ui/serial_logger_page.h"

namespace loggers {

std::unique_ptr<shell::ModulePage> makeLoggerPage(int32_t pageId, shell::SettingsFile& settings,
                                                  buslink::ModuleLink& link,
                                                  shell::UserPrompts& prompts) {
  switch (pageId) {
    case 206:
      return std::make_unique<LambdaPage>(settings, link, prompts);
    case 208:
      return std::make_unique<RpmLoggerPage>(settings, link, prompts);
    case 209:
      return std::make_unique<SerialLoggerPage>(settings, link, prompts);
    case 214:
      return std::make_unique<CarLoggerPage>(settings, link, prompts);
    default:
      return nullptr;
  }
}

}  // namespace loggers
