#include "viewers/trigger/ui/hf.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "viewers/common/command_line.h"
#include "viewers/common/config.h"
#include "viewers/common/ui/finfo.h"
#include "viewers/common/ui/form_store.h"
#include "viewers/common/ui/uc_com.h"
#include "viewers/common/viewer_folders.h"
#include "viewers/spark/ui/connect_pictures.h"
#include "viewers/trigger/command_line_folder.h"
#include "viewers/trigger/trigger_texts.h"
#include "viewers/trigger/ui/fmodul_info.h"
#include "viewers/trigger/ui/hf_files.h"
#include "viewers/trigger/ui/picture_painter.h"
#include "viewers/trigger/ui/scope_view.h"

namespace trigger {

namespace {

constexpr int kStatusMs = 100;
constexpr int kFormCloseMs = 100;
// The monitor's 500 ms are counted by the core; this only looks often
// enough that the repetition is not late.
constexpr int kMonitorMs = 50;
// The live row is redrawn at this rate when new samples came: fast enough
// to follow the line (1920 samples a second), without spinning.
constexpr int kLiveMs = 20;
constexpr int kScrollStep = 100;

QString text(const char* utf8) {
  return QString::fromUtf8(utf8);
}

QString balloon(const char* utf8) {
  QString body = text(utf8).toHtmlEscaped();
  body.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
  return QStringLiteral("<b>Info</b><br>") + body;
}

}  // namespace

HF::HF(viewers::CConfig& config, viewers::CCommandLine& commandLine, TriggerMessages& messages,
       viewers::ProductInfo product, viewers::ViewerFolders folders, viewers::CErrLog* errLog,
       QWidget* parent)
    : QMainWindow(parent),
      config_(config),
      commandLine_(commandLine),
      messages_(messages),
      product_(std::move(product)),
      folders_(std::move(folders)),
      com_(new viewers::ucCOM(this)),
      port_(*com_),
      zuend_(port_, pump_, recording_, errLog) {
  setObjectName(QStringLiteral("HF"));
  setProperty("tag", QString::fromLatin1(viewers::kCfgTag));
  setWindowTitle(text(kProgramName));
  com_->setObjectName(QStringLiteral("COM"));
  buildControls();
  buildMenus();
  resize(886, 642);

  connect(com_, &viewers::ucCOM::Receive, this, &HF::receive);
  statusTimer_.setInterval(kStatusMs);
  formCloseTimer_.setInterval(kFormCloseMs);
  monitorTimer_.setInterval(kMonitorMs);
  liveTimer_.setInterval(kLiveMs);
  connect(&statusTimer_, &QTimer::timeout, this, &HF::statusTick);
  connect(&formCloseTimer_, &QTimer::timeout, this, [this] { close(); });
  connect(&monitorTimer_, &QTimer::timeout, this, [this] { zuend_.monitorTick(); });
  connect(&liveTimer_, &QTimer::timeout, this, &HF::liveTick);
}

HF::~HF() {
  statusTimer_.stop();
  formCloseTimer_.stop();
  monitorTimer_.stop();
  liveTimer_.stop();
}

void HF::buildControls() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(8, 4, 4, 2);
  layout->setSpacing(4);

  auto* bar = new QHBoxLayout;
  connect_ = new QToolButton(central);
  connect_->setObjectName(QStringLiteral("Check_Verbinden"));
  connect_->setCheckable(true);
  connect_->setIcon(spark::connectIcon());
  connect_->setIconSize(QSize(32, 32));
  connect_->setText(QStringLiteral("Verbinden"));
  connect_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  connect_->setAccessibleName(QStringLiteral("Verbinden"));
  connect_->setToolTip(balloon("Verbindung mit dem Modul aufbauen/trennen"));
  connect(connect_, &QToolButton::toggled, this, &HF::connectToggled);
  bar->addWidget(connect_);
  bar->addSpacing(12);

  // Index 0 "Stop", 2 "Sync", 1 "Live-Anzeige", in this order from the left.
  auto* group = new QButtonGroup(this);
  group->setExclusive(true);
  const std::pair<DisplayMode, const char*> modes[] = {{DisplayMode::kStop, "Stop"},
                                                       {DisplayMode::kSync, "Sync"},
                                                       {DisplayMode::kLive, "Live-Anzeige"}};
  for (const auto& [mode, caption] : modes) {
    auto* button = new QPushButton(text(caption), central);
    button->setObjectName(QStringLiteral("OptModus"));
    button->setProperty("index", static_cast<int>(mode));
    button->setCheckable(true);
    button->setMinimumSize(90, connect_->sizeHint().height());
    group->addButton(button);
    connect(button, &QPushButton::toggled, this, [this, mode](bool on) { modeToggled(mode, on); });
    modes_[static_cast<size_t>(mode)] = button;
    bar->addWidget(button);
  }
  {
    // Selected at start without running its handler: there is nothing to show yet.
    const QSignalBlocker quiet(modes_[0]);
    modes_[0]->setChecked(true);
  }
  modes_[static_cast<size_t>(DisplayMode::kStop)]->setToolTip(
      balloon("Zeigt die bisherige Aufnahme\r\n(max 1 Minute) an"));
  modes_[static_cast<size_t>(DisplayMode::kLive)]->setToolTip(
      balloon("Liveanzeige mit Aufnahmemodus"));
  bar->addSpacing(12);

  const std::pair<const char*, const char*> zooms[] = {
      {"Taste_BMinus", "\xE2\x97\x80\xE2\x96\xB6 \xE2\x88\x92"},
      {"Taste_BPlus", "\xE2\x97\x80\xE2\x96\xB6 +"},
      {"Taste_HMinus", "\xE2\x96\xB2\xE2\x96\xBC \xE2\x88\x92"},
      {"Taste_HPlus", "\xE2\x96\xB2\xE2\x96\xBC +"},
  };
  const char* zoomTips[] = {"Horizontal verkleinern",
                            "Horizontal vergr\xC3\xB6\xC3\x9F"
                            "ern",
                            "Zeilenh\xC3\xB6he verringern",
                            "Zeilenh\xC3\xB6he vergr\xC3\xB6\xC3\x9F"
                            "ern"};
  for (int i = 0; i < 4; ++i) {
    auto* button = new QToolButton(central);
    button->setObjectName(text(zooms[i].first));
    button->setText(text(zooms[i].second));
    button->setToolTip(text(zoomTips[i]));
    button->setMinimumSize(52, connect_->sizeHint().height());
    connect(button, &QToolButton::clicked, this, [this, i] { zoom(i); });
    zooms_[static_cast<size_t>(i)] = button;
    bar->addWidget(button);
  }
  bar->addStretch(1);
  layout->addLayout(bar);

  auto* area = new QHBoxLayout;
  area->setSpacing(4);
  view_ = new ScopeView(central);
  scroll_ = new QScrollBar(Qt::Vertical, central);
  scroll_->setObjectName(QStringLiteral("VScroll"));
  scroll_->setPageStep(kScrollStep);
  scroll_->setEnabled(false);
  connect(scroll_, &QScrollBar::valueChanged, this, [this] { redraw(); });
  connect(view_, &ScopeView::resized, this, [this] {
    recomputeScrollRange();
    redraw();
  });
  area->addWidget(view_, 1);
  area->addWidget(scroll_);
  layout->addLayout(area, 1);
  setCentralWidget(central);

  statusBar()->setObjectName(QStringLiteral("SB"));
  const int widths[] = {0, 180, 90, 130};
  for (size_t i = 0; i < panels_.size(); ++i) {
    panels_[i] = new QLabel(this);
    panels_[i]->setMinimumWidth(widths[i]);
    if (i == 0) {
      statusBar()->addWidget(panels_[i], 1);
    } else {
      statusBar()->addPermanentWidget(panels_[i]);
    }
  }
}

void HF::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
  file->addAction(QStringLiteral("Daten &laden"), this, [this] {
    const QString path = askFile(0);
    if (!path.isEmpty()) loadData(path);
  });
  file->addAction(QStringLiteral("Daten &speichern"), this, &HF::saveData);
  file->addAction(QStringLiteral("&Ordner anzeigen"), this, [this] { showFolder(dataFolder_); });
  file->addSeparator();
  binImport_ = file->addAction(QStringLiteral("ZEB &Bin-Datei laden"), this, [this] {
    const QString path = askFile(1);
    if (!path.isEmpty()) importBinFile(path);
  });
  textImport_ = file->addAction(QStringLiteral("ZEB &Text-Datei laden"), this, [this] {
    const QString path = askFile(2);
    if (!path.isEmpty()) importTextFile(path);
  });
  importSeparator_ = file->addSeparator();
  file->addAction(QStringLiteral("&Beenden"), this, &QWidget::close);
  extras_ = menuBar()->addMenu(QStringLiteral("&Extras"));
  extras_->addAction(QStringLiteral("&Modulinfo"), this, &HF::openModulInfo);
  extras_->addAction(QStringLiteral("&Einstellungen"), this, &HF::openSettings);
  help_ = menuBar()->addMenu(QStringLiteral("&?"));
  help_->addAction(QStringLiteral("&Info"), this, &HF::openInfo);
}

bool HF::load() {
  setWindowTitle(windowTitle() + " " + QString::fromStdString(viewers::versionText(product_)));
  recording_ = Recording{};
  analysis_ = Analysis{};
  if (!config_.SetXMLFile("", true)) return false;
  com_->Settings(kCommandSettings);
  com_->COMPort(config_.ReadText("Port"));
  readStoredSettings();
  viewers::restoreForm(config_, this);

  dataFolder_ = viewers::documentsBase(folders_, product_) + "Logfiles/";
  std::error_code ec;
  std::filesystem::create_directories(dataFolder_, ec);

  binImport_->setVisible(false);
  textImport_->setVisible(false);
  importSeparator_->setVisible(false);
  applyCommandLine();

  statusTimer_.start();
  statusTick();
  return true;
}

void HF::applyCommandLine() {
  if (!commandLine_.IsOk()) return;
  if (commandLine_.ParamExists("h")) messages_.show(kTextHelp, viewers::MessageIcon::kNone);
  if (commandLine_.ParamExists("com")) com_->COMPort(commandLine_.ParamGet("com"));
  if (commandLine_.ParamExists("zebmode")) {
    binImport_->setVisible(true);
    textImport_->setVisible(true);
    importSeparator_->setVisible(true);
    setWindowTitle(windowTitle() + text(kZebModeCaption));
  }
  if (commandLine_.ParamExists("pfad")) {
    dataFolder_ = dataFolderFromCommandLine(commandLine_.ParamGet("pfad"), dataFolder_, messages_);
  }
}

QString HF::panelText(int panel) const {
  return panels_.at(static_cast<size_t>(panel - 1))->text();
}

DisplayMode HF::mode() const {
  for (size_t i = 0; i < modes_.size(); ++i) {
    if (modes_[i]->isChecked()) return static_cast<DisplayMode>(i);
  }
  return DisplayMode::kStop;
}

void HF::selectMode(DisplayMode mode) {
  modes_[static_cast<size_t>(mode)]->setChecked(true);
}

void HF::connectToggled(bool down) {
  selectMode(DisplayMode::kStop);
  if (!down) {
    for (size_t i = 1; i < panels_.size(); ++i) panels_[i]->clear();
    com_->ClosePort();
    zuend_.Reset();
    monitorTimer_.stop();
    return;
  }
  if (!com_->OpenPort()) {
    com_->ClosePort();
    // Released before the box, so nothing behind the box acts on it.
    connect_->setChecked(false);
    messages_.show(kTextNoPort, viewers::MessageIcon::kError);
    return;
  }
  if (zuend_.ModInfoOk()) return;
  monitorTimer_.start();
  if (zuend_.GetModulInfo()) {
    zuend_.IgnoriereDatenempfang(true);
    const ModuleValues& v = zuend_.values();
    panels_[1]->setText(QString::fromStdString(v.ModTyp));
    panels_[2]->setText(QString::fromStdString(v.ModVersion));
    panels_[3]->setText(text(kSerialPrefix) + QString::fromStdString(v.ModSerienNr));
    std::string text = kTextConnectedTo;
    text += v.ModTyp;
    text += ' ';
    text += v.ModVersion;
    messages_.show(text, viewers::MessageIcon::kInformation);
    return;
  }
  connect_->setChecked(false);
  messages_.show(kTextNoModuleData, viewers::MessageIcon::kError);
}

void HF::modeToggled(DisplayMode mode, bool on) {
  if (!on) return;
  ++runningHandlers_;
  switch (mode) {
    case DisplayMode::kStop:
      stopHandler();
      break;
    case DisplayMode::kSync:
      syncHandler();
      break;
    case DisplayMode::kLive:
      liveHandler();
      break;
  }
  --runningHandlers_;
}

void HF::runAnalysis() {
  analysis_ = analyse(recording_);
  if (analysis_.status == AnalysisStatus::kNoData) {
    messages_.showTitled(kTitleAnalysis, kTextNoData, viewers::MessageIcon::kError);
  } else if (analysis_.status == AnalysisStatus::kTooFewData) {
    messages_.show(kTextTooFewData, viewers::MessageIcon::kInformation);
  }
}

void HF::stopHandler() {
  liveTimer_.stop();
  scroll_->setEnabled(true);
  zuend_.IgnoriereDatenempfang(true);
  runAnalysis();
  recomputeScrollRange();
  redraw();
}

void HF::syncHandler() {
  liveTimer_.stop();
  scroll_->setEnabled(true);
  zuend_.IgnoriereDatenempfang(true);
  runAnalysis();
  redraw();
}

void HF::liveHandler() {
  scroll_->setEnabled(false);
  recording_.clear();
  zuend_.IgnoriereDatenempfang(false);
  liveDrawnAt_ = -1;
  liveTick();
  liveTimer_.start();
}

// Only the newest row is drawn, and only when samples came since the last
// picture: the ring is never redrawn per arrival.
void HF::liveTick() {
  if (mode() != DisplayMode::kLive || closing_) {
    liveTimer_.stop();
    return;
  }
  if (liveDrawnAt_ == recording_.DataWrIdx && recording_.DataCount > 0) return;
  liveDrawnAt_ = recording_.DataWrIdx;
  picture_.width = view_->picture().width();
  picture_.height = view_->picture().height();
  drawLivePicture(picture_, recording_, display_);
  showPicture();
  ++liveFramesDrawn_;
}

void HF::goOnWithStop() {
  if (mode() == DisplayMode::kStop) {
    modeToggled(DisplayMode::kStop, true);
  } else {
    selectMode(DisplayMode::kStop);
  }
}

int HF::scrollOffset() const {
  return scroll_->value() * 4;
}

void HF::recomputeScrollRange() {
  const ScrollRange r =
      scrollRange(view_->picture().width(), view_->picture().height(), display_.SamProPxl,
                  display_.Zeilenhoehe, recording_.DataCount, mode(), analysis_.gapCount());
  if (!r.enabled) {
    scroll_->setEnabled(false);
    return;
  }
  scroll_->setMaximum(r.maximum);
  scroll_->setEnabled(true);
}

void HF::redraw() {
  const DisplayMode m = mode();
  if (m == DisplayMode::kLive) return;
  picture_.width = view_->picture().width();
  picture_.height = view_->picture().height();
  if (m == DisplayMode::kStop) {
    drawStopPicture(picture_, recording_, display_, scrollOffset());
  } else {
    drawSyncPicture(picture_, recording_, analysis_, display_, scrollOffset());
  }
  showPicture();
}

void HF::showPicture() {
  if (view_->picture().isNull()) return;
  paintPicture(view_->picture(), picture_);
  view_->refresh();
}

void HF::zoom(int button) {
  switch (button) {
    case 0:
      display_.SamProPxl = zoomOut(display_.SamProPxl);
      break;
    case 1:
      display_.SamProPxl = zoomIn(display_.SamProPxl);
      break;
    case 2:
      display_.Zeilenhoehe = rowHeightDown(display_.Zeilenhoehe);
      break;
    default:
      display_.Zeilenhoehe = rowHeightUp(display_.Zeilenhoehe);
      break;
  }
  redraw();
}

void HF::receive(const QByteArray& bytes) {
  zuend_.ucCOM_Receive(reinterpret_cast<const uint8_t*>(bytes.constData()),
                       static_cast<size_t>(bytes.size()));
}

void HF::statusTick() {
  const bool live = mode() == DisplayMode::kLive;
  extras_->setEnabled(!live);
  help_->setEnabled(!live);
  const char* status = !connect_->isChecked()          ? kStatusSwitchOn
                       : !live                         ? kStatusConnected
                       : zuend_.DatenempfangOszimode() ? kStatusStreaming
                                                       : kStatusNoData;
  panels_[0]->setText(text(status));
}

void HF::setDisplayColours(const viewers::DisplayColours& colours) {
  display_.setColours(colours);
}

void HF::redrawNow() {
  recomputeScrollRange();
  redraw();
}

void HF::openModulInfo() {
  FModulInfo info(zuend_.values(), this);
  info.exec();
}

void HF::openSettings() {
  viewers::FEinstell dialog(*com_, *this, this);
  dialog.exec();
  recomputeScrollRange();
  redraw();
}

void HF::openInfo() {
  viewers::FInfo info(windowTitle(), product_, this);
  info.exec();
}

void HF::closeEvent(QCloseEvent* event) {
  zuend_.Abbruch();
  closing_ = true;
  if (zuend_.SendenAktiv() || runningHandlers_ > 0) {
    event->ignore();
    formCloseTimer_.start();
    return;
  }
  formCloseTimer_.stop();
  statusTimer_.stop();
  monitorTimer_.stop();
  liveTimer_.stop();
  storeSettings();
  com_->ClosePort();
  event->accept();
}

}  // namespace trigger
