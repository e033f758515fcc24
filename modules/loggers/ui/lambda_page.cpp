#include "modules/loggers/ui/lambda_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "modules/loggers/conversion.h"
#include "modules/loggers/log_files.h"
#include "shell/user_prompts.h"
#include "texts/logger_text_ids.h"

namespace loggers {

namespace {

constexpr shell::ControlRow kControls[] = {
    shell::numberField(LambdaPage::kDay, "Tag", 3, {0, 255}),
    shell::numberField(LambdaPage::kNight, "Nacht", 3, {0, 255}),
    shell::pushButton(LambdaPage::kRead, "Lesen"),
    shell::pushButton(LambdaPage::kWrite, "Schreiben"),
    shell::pushButton(LambdaPage::kConvert, "Konvert."),
    shell::label(LambdaPage::kVersion, ""),
};

}  // namespace

LambdaPage::LambdaPage(shell::SettingsFile& settings, buslink::ModuleLink& link,
                       shell::UserPrompts& prompts)
    : LoggerPage(206, kControls, settings, link, prompts) {}

void LambdaPage::initialise() {
  initialiseLogDialogs(dialogs_, settings_);
}

void LambdaPage::layout(QWidget* page, QGridLayout* grid) {
  static constexpr int32_t kFields[] = {kDay, kNight};
  static constexpr int32_t kButtons[] = {kRead, kWrite, kConvert};
  grid->addWidget(box(page, QStringLiteral("Helligkeit"), kFields), 0, 0);
  grid->addWidget(box(page, QStringLiteral("Modul"), kButtons), 0, 1, Qt::AlignTop);
  grid->addWidget(table()->control(kVersion), 1, 0, 1, 2);
  grid->setRowStretch(2, 1);
  grid->setColumnStretch(2, 1);
}

void LambdaPage::prepare() {
  table()->setNumber(kDay, brightness_.day);
  table()->setNumber(kNight, brightness_.night);
}

void LambdaPage::run(int32_t id) {
  std::string version;
  switch (id) {
    case kRead: {
      const int32_t r = readBrightness(link_, brightness_, version);
      setVersion(kVersion, version);
      prepare();
      finish(r);
      return;
    }
    case kWrite: {
      Brightness b;
      b.day = table()->number(kDay).value_or(-1);
      b.night = table()->number(kNight).value_or(-1);
      const int32_t r = writeBrightness(link_, b, version);
      if (r == texts::kTextLoggerWriteOk) brightness_ = b;
      setVersion(kVersion, version);
      finish(r);
      return;
    }
    case kConvert:
      convert();
      return;
    default:
      return;
  }
}

void LambdaPage::convert() {
  const std::optional<std::string> log = chooseLogFile(dialogs_, settings_);
  if (!log) return;
  ConversionOptions options;
  options.stamp = platform::localTime();
  options.prompts = &prompts_;
  const std::optional<std::string> out =
      chooseOutputFile(dialogs_, settings_, outputFileName(options.stamp));
  if (!out) return;
  const int32_t r = convertLambdaLogFile(*log, *out, kSideFileName, options);
  if (r != 0) prompts_.showMessage(r);
}

}  // namespace loggers
