#include "modules/loggers/ui/car_logger_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "link/module_link.h"
#include "modules/loggers/log_files.h"
#include "modules/loggers/logger_clock.h"
#include "modules/loggers/ui/car_live_dialog.h"
#include "modules/loggers/vehicle_file.h"
#include "shell/atomic_file.h"
#include "shell/message_helpers.h"
#include "shell/user_prompts.h"
#include "shell/version_text.h"
#include "texts/text_ids.h"

namespace loggers {

namespace {

using P = CarLoggerPage;

constexpr shell::ControlRow kControls[] = {
    shell::numberField(P::kHours, "maximale Aufnahmedauer", 4, {kMinHours, kMaxHours}),
    shell::readOnly(shell::numberField(P::kKiloBytes, "kByte", 6)),
    shell::pushButton(P::kCreate, "Erzeugen"),
    shell::pushButton(P::kChooseVehicle, "Auswahl"),
    shell::label(P::kVehicle, ""),
    shell::pushButton(P::kConvert, "Konvertieren"),
    shell::pushButton(P::kLive, "Anzeige"),
    shell::checkBox(P::kLogIgnition, "Zündung loggen"),
    shell::checkBox(P::kLogZor, "Zor loggen"),
    shell::checkBox(P::kBaud9600, "9600 Baud"),
    shell::pushButton(P::kSetClock, "Uhr stellen"),
    shell::label(P::kVersion, ""),
};

constexpr int32_t kStartHours = 5;

}  // namespace

CarLoggerPage::CarLoggerPage(shell::SettingsFile& settings, buslink::ModuleLink& link,
                             shell::UserPrompts& prompts)
    : LoggerPage(214, kControls, settings, link, prompts),
      runDialog_([](QDialog& d) { d.exec(); }) {}

void CarLoggerPage::initialise() {
  initialiseVehicleDialog(vehicleDialog_, settings_);
  initialiseLogDialogs(dialogs_, settings_);
}

void CarLoggerPage::layout(QWidget* page, QGridLayout* grid) {
  shell::DialogTable& t = *table();
  auto* card = new QGroupBox(QStringLiteral("Logdatei"), page);
  auto* cardGrid = new QGridLayout(card);
  cardGrid->setContentsMargins(6, 4, 6, 6);
  cardGrid->addWidget(new QLabel(QStringLiteral("maximale Aufnahmedauer"), card), 0, 0, 1, 2);
  cardGrid->addWidget(t.control(kHours), 1, 0);
  cardGrid->addWidget(new QLabel(QStringLiteral("Stunden"), card), 1, 1);
  cardGrid->addWidget(t.control(kKiloBytes), 2, 0);
  cardGrid->addWidget(t.caption(kKiloBytes), 2, 1);
  cardGrid->addWidget(t.control(kCreate), 3, 0, 1, 2);
  t.caption(kHours)->hide();

  auto* vehicle = new QGroupBox(QStringLiteral("Fahrzeug"), page);
  auto* vehicleGrid = new QGridLayout(vehicle);
  vehicleGrid->setContentsMargins(6, 4, 6, 6);
  auto* path = t.get<QLabel>(kVehicle);
  path->setWordWrap(true);
  path->setMinimumWidth(260);
  vehicleGrid->addWidget(path, 0, 0, 1, 3);
  vehicleGrid->addWidget(t.control(kChooseVehicle), 1, 0);
  vehicleGrid->addWidget(t.control(kLive), 1, 1);
  vehicleGrid->addWidget(t.control(kConvert), 1, 2);

  static constexpr int32_t kModule[] = {kLogIgnition, kLogZor, kBaud9600, kSetClock};
  grid->addWidget(card, 0, 0, Qt::AlignTop);
  grid->addWidget(box(page, QStringLiteral("Modul"), kModule), 0, 1, Qt::AlignTop);
  grid->addWidget(vehicle, 1, 0, 1, 2);
  grid->addWidget(t.control(kVersion), 2, 0, 1, 2);
  grid->setRowStretch(3, 1);
  grid->setColumnStretch(2, 1);

  // kByte follows the hours once the field has passed its check.
  auto* hours = t.field(kHours);
  QObject::connect(hours, &QLineEdit::editingFinished, page, [this] { hoursLeft(); });
}

void CarLoggerPage::prepare() {
  table()->setNumber(kHours, kStartHours);
  table()->setNumber(kKiloBytes, carLogKiloBytes(kStartHours));
  table()->get<QLabel>(kVehicle)->setText(QString::fromStdString(vehicleFilePath(settings_)));
}

void CarLoggerPage::hoursLeft() {
  const std::optional<int32_t> h = table()->number(kHours);
  if (h && *h >= kMinHours && *h <= kMaxHours) table()->setNumber(kKiloBytes, carLogKiloBytes(*h));
}

void CarLoggerPage::run(int32_t id) {
  switch (id) {
    case kCreate:
      create();
      return;
    case kChooseVehicle:
      chooseVehicle();
      return;
    case kConvert:
      convert();
      return;
    case kLive:
      live();
      return;
    case kSetClock:
      setClock();
      return;
    default:
      return;
  }
}

void CarLoggerPage::create() {
  const std::optional<int32_t> hours = table()->number(kHours);
  if (!hours || *hours < kMinHours || *hours > kMaxHours) {
    prompts_.showMessage(texts::kTextParameterOutOfRange);
    return;
  }
  const std::optional<std::string> path = chooseLogFile(dialogs_, settings_, true);
  if (!path) return;
  // Always "LogDatei.bin" in the chosen folder: the logger looks for no other name.
  const int32_t r = createCarLogFile(shell::parentFolder(*path), *hours, prompts_);
  if (r != 0) prompts_.showMessage(r);
}

void CarLoggerPage::chooseVehicle() {
  if (const std::optional<std::string> path = chooseVehicleFile(vehicleDialog_, settings_)) {
    table()->get<QLabel>(kVehicle)->setText(QString::fromStdString(*path));
  }
}

void CarLoggerPage::convert() {
  VehicleData vehicle;
  if (const int32_t e = readVehicleFile(vehicleFilePath(settings_), vehicle); e != 0) {
    prompts_.showMessage(e);
    return;
  }
  const std::optional<std::string> log = chooseLogFile(dialogs_, settings_);
  if (!log) return;
  ConversionOptions options;
  options.stamp = platform::localTime();
  options.prompts = &prompts_;
  const std::optional<std::string> out =
      chooseOutputFile(dialogs_, settings_, outputFileName(options.stamp));
  if (!out) return;
  const int32_t r = convertCarLogFile(*log, *out, kSideFileName, vehicle, options);
  if (r != 0) prompts_.showMessage(r);
}

void CarLoggerPage::live() {
  VehicleData vehicle;
  if (const int32_t e = readVehicleFile(vehicleFilePath(settings_), vehicle); e != 0) {
    prompts_.showMessage(e);
    return;
  }
  int32_t e = link_.selectModule(kCarLoggerAddress);
  uint16_t version = 0;
  if (e == 0) e = link_.readFirmwareVersion(version);
  if (e != 0) {
    shell::closeLinkAndShowMessage(link_, prompts_, e, 0);
    return;
  }
  {
    CarLiveDialog dialog(link_, vehicle, widget());
    runDialog_(dialog);
  }
  link_.close();
}

void CarLoggerPage::setClock() {
  shell::DialogTable& t = *table();
  RecordingOptions options;
  options.ignition = t.isChecked(kLogIgnition);
  options.zor = t.isChecked(kLogZor);
  options.baud9600 = t.isChecked(kBaud9600);
  std::string version;
  const int32_t r = setCarLoggerClock(link_, platform::localTime(), options, version);
  setVersion(kVersion, version);
  finish(r);
}

}  // namespace loggers
