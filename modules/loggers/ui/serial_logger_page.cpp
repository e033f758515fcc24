#include "modules/loggers/ui/serial_logger_page.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "modules/loggers/log_files.h"
#include "shell/atomic_file.h"
#include "shell/user_prompts.h"
#include "texts/text_ids.h"

namespace loggers {

namespace {

using P = SerialLoggerPage;

constexpr shell::ControlRow kControls[] = {
    shell::radioButton(P::kStandard, "Standard", "Modus"),
    shell::radioButton(P::kSelective, "Selektiv", "Modus"),
    shell::radioButton(P::kDso, "DSO", "Modus"),
    shell::radioButton(P::kZor, "ZOR", "Modus"),
    shell::comboBox(P::kRateList, "Baudrate"),
    shell::numberField(P::kIdentifier, "Kennung", 3),
    shell::numberField(P::kMask, "Maskierung", 3),
    shell::numberField(P::kByteCount, "Bytezahl", 2),
    shell::numberField(P::kCrc, "CRC", 3),
    shell::pushButton(P::kRead, "Lesen"),
    shell::pushButton(P::kWrite, "Schreiben"),
    shell::numberField(P::kLogSize, "Logdatei", 3, {1, 999}),
    shell::pushButton(P::kCreateLog, "Erzeugen"),
    shell::pushButton(P::kCopyLog, "Lesen"),
    shell::label(P::kVersion, ""),
};

constexpr std::pair<int32_t, SerialMode> kModeButtons[] = {{P::kStandard, SerialMode::Standard},
                                                           {P::kSelective, SerialMode::Selective},
                                                           {P::kDso, SerialMode::Dso},
                                                           {P::kZor, SerialMode::Zor}};

}  // namespace

SerialLoggerPage::SerialLoggerPage(shell::SettingsFile& settings, buslink::ModuleLink& link,
                                   shell::UserPrompts& prompts)
    : LoggerPage(209, kControls, settings, link, prompts) {}

void SerialLoggerPage::initialise() {
  initialiseLogDialogs(dialogs_, settings_);
}

void SerialLoggerPage::layout(QWidget* page, QGridLayout* grid) {
  static constexpr int32_t kModes[] = {kStandard, kSelective, kDso, kZor};
  static constexpr int32_t kReceive[] = {kRateList, kIdentifier, kMask, kByteCount, kCrc};
  static constexpr int32_t kModule[] = {kRead, kWrite};
  grid->addWidget(box(page, QStringLiteral("Modus"), kModes), 0, 0);
  grid->addWidget(box(page, QStringLiteral("Empfang"), kReceive), 0, 1);
  grid->addWidget(box(page, QStringLiteral("Modul"), kModule), 1, 0, Qt::AlignTop);
  table()->get<QComboBox>(kRateList)->setSizeAdjustPolicy(QComboBox::AdjustToContents);

  auto* log = new QGroupBox(QStringLiteral("Logdatei"), page);
  auto* logGrid = new QGridLayout(log);
  logGrid->setContentsMargins(6, 4, 6, 6);
  logGrid->addWidget(table()->caption(kLogSize), 0, 0);
  logGrid->addWidget(table()->control(kLogSize), 0, 1);
  logGrid->addWidget(new QLabel(QStringLiteral("MByte"), log), 0, 2);
  logGrid->addWidget(table()->control(kCreateLog), 1, 0, 1, 3);
  logGrid->addWidget(table()->control(kCopyLog), 2, 0, 1, 3);
  grid->addWidget(log, 1, 1, Qt::AlignTop);
  grid->addWidget(table()->control(kVersion), 2, 0, 1, 2);
  grid->setRowStretch(3, 1);
  grid->setColumnStretch(2, 1);
}

void SerialLoggerPage::prepare() {
  showValues();
}

// The page as the settings say: mode button, list and its entry, fields
// and which of them may be changed.
void SerialLoggerPage::showValues() {
  shell::DialogTable& t = *table();
  for (const auto& [id, mode] : kModeButtons) t.setChecked(id, mode == values_.mode);
  auto* list = t.get<QComboBox>(kRateList);
  const bool dso = values_.mode == SerialMode::Dso;
  list->clear();
  for (int i = 0; i < static_cast<int>(kBaudRates.size()); ++i) {
    list->addItem(QString::fromStdString(rateText(i, dso)));
  }
  list->setCurrentIndex(values_.rateIndex);
  list->setEnabled(rateListEnabled(values_.mode));
  const int32_t fields[] = {kIdentifier, kMask, kByteCount, kCrc};
  const int32_t values[] = {values_.identifier, values_.mask, values_.byteCount, values_.crc};
  for (int i = 0; i < 4; ++i) {
    t.setNumber(fields[i], values[i]);
    t.control(fields[i])->setEnabled(fieldsEnabled(values_.mode));
  }
  t.setNumber(kLogSize, values_.logMegabytes);
}

void SerialLoggerPage::takeValues() {
  const shell::DialogTable& t = *table();
  values_.rateIndex = std::max(0, t.get<QComboBox>(kRateList)->currentIndex());
  values_.identifier = t.number(kIdentifier).value_or(0);
  values_.mask = t.number(kMask).value_or(0);
  values_.byteCount = t.number(kByteCount).value_or(0);
  values_.crc = t.number(kCrc).value_or(0);
  values_.logMegabytes = t.number(kLogSize).value_or(0);
}

void SerialLoggerPage::run(int32_t id) {
  for (const auto& [button, mode] : kModeButtons) {
    if (id == button) {
      takeValues();
      switchMode(values_, mode);
      showValues();
      return;
    }
  }
  std::string version;
  switch (id) {
    case kRead: {
      takeValues();
      const int32_t r = readSerialLogger(link_, values_, version);
      setVersion(kVersion, version);
      showValues();
      finish(r);
      return;
    }
    case kWrite: {
      takeValues();
      const int32_t r = writeSerialLogger(link_, values_, platform::localTime(), version);
      setVersion(kVersion, version);
      finish(r);
      return;
    }
    case kCreateLog:
      createLog();
      return;
    case kCopyLog:
      copyLog();
      return;
    default:
      return;
  }
}

void SerialLoggerPage::createLog() {
  takeValues();
  const std::optional<std::string> path = chooseLogFile(dialogs_, settings_, true);
  if (!path) return;
  // Always "LogDatei.bin" in the chosen folder: the logger looks for no other name.
  const int32_t r = createSerialLogFile(shell::parentFolder(*path), values_.logMegabytes, prompts_);
  if (r != 0) prompts_.showMessage(r);
}

void SerialLoggerPage::copyLog() {
  const std::optional<std::string> log = chooseLogFile(dialogs_, settings_);
  if (!log) return;
  const int32_t r = copyRecordedLog(
      *log,
      [this](std::string& copyPath) {
        std::string name = outputFileName(platform::localTime());
        name = replaceExtension(name, ".bin");
        const std::optional<std::string> chosen = chooseOutputFile(dialogs_, settings_, name);
        if (!chosen) return false;
        copyPath = *chosen;
        return true;
      },
      prompts_);
  if (r != 0 && r != texts::kTextCancelled) prompts_.showMessage(r);
}

}  // namespace loggers
