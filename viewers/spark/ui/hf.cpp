#include "viewers/spark/ui/hf.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

#include "viewers/common/command_line.h"
#include "viewers/common/config.h"
#include "viewers/common/ui/feinstell.h"
#include "viewers/common/ui/finfo.h"
#include "viewers/common/ui/form_store.h"
#include "viewers/common/ui/uc_com.h"
#include "viewers/common/viewer_messages.h"
#include "viewers/spark/chart_geometry.h"
#include "viewers/spark/cylinder_count.h"
#include "viewers/spark/log_mode.h"
#include "viewers/spark/spark_texts.h"
#include "viewers/spark/ui/chart_view.h"
#include "viewers/spark/ui/connect_pictures.h"

namespace spark {

namespace {

constexpr int kAbfrageMs = 100;
constexpr int kTimer1Ms = 100;
constexpr int kStatusbarMs = 250;
// The column loop looks at its clock this often; a column is written once
// 10 ms have passed, so the chart advances at the column period without the
// loop spinning between passes.
constexpr int kColumnPassMs = 1;

QString text(const char* utf8) {
  return QString::fromUtf8(utf8);
}

QString numberText(double value) {
  return QString::number(value, 'g', 15);
}

}  // namespace

HF::HF(viewers::CConfig& config, viewers::CCommandLine& commandLine,
       viewers::ViewerMessages& messages, viewers::ProductInfo product, QWidget* parent)
    : QMainWindow(parent),
      config_(config),
      commandLine_(commandLine),
      messages_(messages),
      product_(std::move(product)),
      com_(new viewers::ucCOM(this)),
      port_(*com_),
      core_(kChartWidth, kChartHeight, kDefaultCylinders) {
  setObjectName(QStringLiteral("HF"));
  setProperty("tag", QString::fromLatin1(viewers::kCfgTag));
  setWindowTitle(text(kProductName));
  com_->setObjectName(QStringLiteral("COM"));
  buildControls();
  buildMenus();
  // A fixed border: the window keeps its design size.
  setFixedSize(sizeHint());

  connect(com_, &viewers::ucCOM::Receive, this, &HF::receive);
  connect(com_, &viewers::ucCOM::ComEvent, this, &HF::comEvent);

  abfrageTimer_.setInterval(kAbfrageMs);
  timer1_.setInterval(kTimer1Ms);
  columnPassTimer_.setInterval(kColumnPassMs);
  columnPassTimer_.setTimerType(Qt::PreciseTimer);
  statusbarTimer_.setInterval(kStatusbarMs);
  connect(&abfrageTimer_, &QTimer::timeout, this, &HF::connectionTick);
  connect(&timer1_, &QTimer::timeout, this, &HF::columnLoopTick);
  connect(&columnPassTimer_, &QTimer::timeout, this, &HF::columnPassTick);
  connect(&statusbarTimer_, &QTimer::timeout, this, &HF::statusTick);
}

HF::~HF() {
  abfrageTimer_.stop();
  timer1_.stop();
  columnPassTimer_.stop();
  statusbarTimer_.stop();
}

void HF::buildControls() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(8, 6, 8, 4);
  layout->setSpacing(6);

  auto* row = new QHBoxLayout;
  connect_ = new QToolButton(central);
  connect_->setObjectName(QStringLiteral("Check_Verbinden"));
  connect_->setCheckable(true);
  connect_->setIcon(connectIcon());
  connect_->setIconSize(QSize(32, 32));
  connect_->setToolTip(QStringLiteral("Verbinden"));
  connect_->setAccessibleName(QStringLiteral("Verbinden"));
  connect(connect_, &QToolButton::toggled, this, [this](bool down) {
    if (!down) core_.releaseConnect();
  });
  row->addWidget(connect_);

  pause_ = new QPushButton(QStringLiteral("Pause"), central);
  pause_->setObjectName(QStringLiteral("Check_Pause"));
  pause_->setCheckable(true);
  pause_->setMinimumHeight(connect_->sizeHint().height());
  row->addWidget(pause_);
  row->addStretch(1);

  for (int i = 0; i < kScaleButtonCount; ++i) {
    auto* button = new QPushButton(text(kScaleButtons[static_cast<size_t>(i)].caption), central);
    button->setObjectName(QStringLiteral("Opt_Skala"));
    button->setProperty("index", i);
    button->setProperty("tag", QString::fromLatin1(viewers::kCfgTag));
    button->setCheckable(true);
    button->setAutoExclusive(true);
    button->setMinimumHeight(connect_->sizeHint().height());
    connect(button, &QPushButton::clicked, this, &HF::NeuZeichnen);
    scales_[static_cast<size_t>(i)] = button;
    row->addWidget(button);
  }
  scales_[0]->setChecked(true);
  enableRunControls(false);
  layout->addLayout(row);

  chart_ = new ChartView(central);
  layout->addWidget(chart_);
  setCentralWidget(central);

  statusPanel_ = new QLabel(text(kStatusNotConnected), this);
  statusBar()->setObjectName(QStringLiteral("SB"));
  statusBar()->setSizeGripEnabled(false);
  statusBar()->addWidget(statusPanel_, 1);
}

void HF::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
  file->addAction(QStringLiteral("&Beenden"), this, &QWidget::close);
  QMenu* extras = menuBar()->addMenu(QStringLiteral("&Extras"));
  extras->addAction(QStringLiteral("&Einstellungen"), this, &HF::openSettings);
  QMenu* help = menuBar()->addMenu(QStringLiteral("&?"));
  help->addAction(QStringLiteral("&Info"), this, &HF::openInfo);
}

bool HF::load() {
  if (!config_.SetXMLFile("", true)) return false;
  com_->Settings(kLogSettings);
  com_->COMPort(config_.ReadText(kKeyPort));
  const std::string storedCylinders = config_.ReadText(kKeyCylinders);
  viewers::restoreForm(config_, this);

  std::optional<std::string> cylinders;
  if (commandLine_.IsOk()) {
    if (commandLine_.ParamExists(kParamHelp)) {
      messages_.show(kTextHelp, viewers::MessageIcon::kNone);
    }
    if (commandLine_.ParamExists(kParamPort)) com_->COMPort(commandLine_.ParamGet(kParamPort));
    if (commandLine_.ParamExists(kParamCylinders)) {
      cylinders = commandLine_.ParamGet(kParamCylinders);
    }
  }
  core_.setCylinderCount(startCylinderCount(storedCylinders, cylinders));

  abfrageTimer_.start();
  timer1_.start();
  statusbarTimer_.start();
  return true;
}

int HF::selectedScale() const {
  for (int i = 0; i < kScaleButtonCount; ++i) {
    if (scales_[static_cast<size_t>(i)]->isChecked()) return i;
  }
  return 0;
}

QString HF::statusBarText() const {
  return statusPanel_->text();
}

bool HF::connectDown() const {
  return connect_->isChecked();
}

bool HF::pauseDown() const {
  return pause_->isChecked();
}

void HF::enableRunControls(bool on) {
  pause_->setEnabled(on);
  for (QPushButton* button : scales_) button->setEnabled(on);
}

void HF::NeuZeichnen() {
  lastDrawn_ = drawChart(chart_->picture(), core_, selectedScale());
  chart_->refresh();
}

void HF::SchalteAufLogmode() {
  spark::SchalteAufLogmode(port_, pump_);
}

void HF::GestörtTimerStarten() {
  core_.GestörtTimerStarten(pump_.nowMicros());
}

void HF::receive(const QByteArray& bytes) {
  core_.Receive(reinterpret_cast<const uint8_t*>(bytes.constData()),
                static_cast<size_t>(bytes.size()), pump_.nowMicros());
}

void HF::comEvent(int code) {
  (void)code;
  core_.ComEvent(pump_.nowMicros());
}

void HF::connectionTick() {
  switch (core_.AbfrageTimerTick(connectDown(), port_, pump_)) {
    case ConnectionStep::Opened:
      enableRunControls(true);
      break;
    case ConnectionStep::OpenFailed:
      // Released before the box, so the ticks behind it close the port
      // instead of asking again.
      connect_->setChecked(false);
      messages_.show(kTextNoPort, viewers::MessageIcon::kError);
      break;
    case ConnectionStep::Closed:
      pause_->setChecked(false);
      enableRunControls(false);
      break;
    case ConnectionStep::Idle:
    case ConnectionStep::LogModeSent:
      break;
  }
}

void HF::columnLoopTick() {
  timer1_.stop();
  core_.startColumnLoop(pump_.nowMicros());
  if (connectDown()) {
    columnPassTimer_.start();
  } else {
    endColumnLoop();
  }
}

void HF::columnPassTick() {
  if (!connectDown()) {
    columnPassTimer_.stop();
    endColumnLoop();
    return;
  }
  if (core_.columnPass(pump_.nowMicros(), pauseDown())) NeuZeichnen();
}

void HF::endColumnLoop() {
  clearChart(chart_->picture());
  chart_->refresh();
  timer1_.start();
}

void HF::statusTick() {
  core_.GestörtTimerTick(pump_.nowMicros());
  statusPanel_->setText(text(
      statusText(connectDown(), pauseDown(), core_.dataFlag(), core_.disturbedFlag()).c_str()));
}

void HF::openSettings() {
  int cylinders = static_cast<int>(core_.cylinderCount());
  viewers::FEinstell dialog(*com_, cylinders, this);
  if (dialog.exec() == QDialog::Accepted) core_.setCylinderCount(cylinders);
}

void HF::openInfo() {
  viewers::FInfo info(text(product_.name.c_str()), product_, this);
  info.exec();
}

void HF::store() {
  if (stored_) return;
  stored_ = true;
  viewers::saveForm(config_, this);
  config_.WriteText(kKeyCylinders, numberText(core_.cylinderCount()).toStdString());
  config_.WriteText(kKeyPort, com_->GetCOMPort());
  config_.SaveCfg();
}

// The program ends with its window: the settings are written and nothing
// runs on.
void HF::closeEvent(QCloseEvent* event) {
  abfrageTimer_.stop();
  timer1_.stop();
  columnPassTimer_.stop();
  statusbarTimer_.stop();
  store();
  com_->ClosePort();
  event->accept();
}

}  // namespace spark
