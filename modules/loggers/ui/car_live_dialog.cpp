#include "modules/loggers/ui/car_live_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "link/module_link.h"
#include "shell/ui/qt_text.h"

namespace loggers {

namespace {

using D = CarLiveDialog;

constexpr shell::ControlRow kControls[] = {
    shell::readOnly(shell::textField(D::kSpeed, "Tacho", 8)),
    shell::readOnly(shell::textField(D::kRpm, "Drehzahl", 8)),
    shell::readOnly(shell::textField(D::kAccelerationX, "Beschleunigung X", 8)),
    shell::readOnly(shell::textField(D::kAccelerationY, "Beschleunigung Y", 8)),
    shell::readOnly(shell::textField(D::kThrottle, "Drosselklappe", 8)),
    shell::readOnly(shell::textField(D::kLambdaA, "Lambda A", 8)),
    shell::readOnly(shell::textField(D::kLambdaB, "Lambda B", 8)),
    shell::readOnly(shell::textField(D::kSensor1, "Sensor 1", 8)),
    shell::readOnly(shell::textField(D::kSensor1 + 1, "Sensor 2", 8)),
    shell::readOnly(shell::textField(D::kSensor1 + 2, "Sensor 3", 8)),
    shell::readOnly(shell::textField(D::kSensor1 + 3, "Sensor 4", 8)),
    shell::label(D::kUnit1, ""),
    shell::label(D::kUnit1 + 1, ""),
    shell::label(D::kUnit1 + 2, ""),
    shell::label(D::kUnit1 + 3, ""),
    shell::readOnly(shell::textField(D::kVoltage, "Bordspannung", 8)),
    shell::radioButton(D::kMarker, "Marker", "Marker"),
    shell::okButton(D::kOk, "OK"),
};

}  // namespace

CarLiveDialog::CarLiveDialog(buslink::ModuleLink& link, const VehicleData& vehicle, QWidget* parent)
    : QDialog(parent), link_(link), vehicle_(vehicle), timer_(new QTimer(this)) {
  setWindowTitle(QStringLiteral("Tunvexa"));
  table_ = std::make_unique<shell::DialogTable>(this, kControls, [this](int32_t id) {
    if (id == kOk) accept();
  });
  auto* grid = new QGridLayout(this);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  const struct {
    int32_t id;
    const char* unit;
  } rows[] = {{kSpeed, "km/h"},        {kRpm, "1/min"},         {kAccelerationX, "g"},
              {kAccelerationY, "g"},   {kThrottle, ""},         {kLambdaA, ""},
              {kLambdaB, ""},          {kSensor1, nullptr},     {kSensor1 + 1, nullptr},
              {kSensor1 + 2, nullptr}, {kSensor1 + 3, nullptr}, {kVoltage, "V"}};
  int row = 0;
  for (const auto& r : rows) {
    grid->addWidget(table_->caption(r.id), row, 0);
    grid->addWidget(table_->control(r.id), row, 1);
    if (r.unit == nullptr) {
      const int sensor = r.id - kSensor1;
      auto* unit = table_->get<QLabel>(kUnit1 + sensor);
      unit->setText(QString::fromStdString(vehicle_.sensors[static_cast<size_t>(sensor)].unit));
      grid->addWidget(unit, row, 2);
    } else if (*r.unit != '\0') {
      grid->addWidget(new QLabel(QString::fromUtf8(r.unit), this), row, 2);
    }
    ++row;
  }
  if (vehicle_.poti.parameter != 0) {
    grid->addWidget(new QLabel(QString::fromStdString(vehicle_.poti.unit), this), 4, 2);
  }
  grid->addWidget(table_->control(kMarker), row++, 0, 1, 3);
  grid->addWidget(table_->control(kOk), row, 0, 1, 3, Qt::AlignHCenter);
  grid->setColumnMinimumWidth(2, 40);
  link_.selectModule(0x50);
  timer_->setInterval(100);
  connect(timer_, &QTimer::timeout, this, [this] { tick(); });
  timer_->start();
}

CarLiveDialog::~CarLiveDialog() {
  timer_->stop();
  link_.close();
}

void CarLiveDialog::tick() {
  LiveRecord r{};
  bool fresh = false;
  if (readLiveRecord(link_, r, fresh) != 0 || !fresh) return;
  showValues(liveTexts(r, vehicle_, speed_));
}

void CarLiveDialog::showValues(const LiveTexts& t) {
  auto set = [this](int32_t id, const std::string& text) {
    if (auto* f = table_->get<QLineEdit>(id)) f->setText(QString::fromStdString(text));
  };
  set(kSpeed, t.speed);
  set(kRpm, t.rpm);
  set(kAccelerationX, t.accelerationX);
  set(kAccelerationY, t.accelerationY);
  set(kThrottle, t.poti);
  set(kLambdaA, t.lambdaA);
  set(kLambdaB, t.lambdaB);
  for (int s = 0; s < 4; ++s) set(kSensor1 + s, t.sensors[static_cast<size_t>(s)]);
  set(kVoltage, t.voltage);
  // The marker is shown, not taken: the button is the logger's, not the user's.
  if (auto* marker = table_->get<QRadioButton>(kMarker)) {
    marker->setAutoExclusive(false);
    marker->setChecked(t.marker);
  }
}

}  // namespace loggers
