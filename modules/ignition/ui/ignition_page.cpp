#include "modules/ignition/ui/ignition_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <cstdio>

#include "link/module_link.h"
#include "modules/ignition/assistant.h"
#include "modules/ignition/curve_graph_mapping.h"
#include "modules/ignition/ignition_file.h"
#include "modules/ignition/ignition_io.h"
#include "modules/ignition/pin_change.h"
#include "modules/ignition/ui/assistant_summary_window.h"
#include "modules/ignition/ui/basic_settings_dialog.h"
#include "modules/ignition/ui/curve_edit_dialog.h"
#include "modules/ignition/ui/curve_graph_window.h"
#include "modules/ignition/ui/ignition_tools_dialogs.h"
#include "modules/ignition/ui/pin_change_dialog.h"
#include "modules/ignition/ui/pin_entry_dialog.h"
#include "modules/ignition/ui/qt_curve_lists.h"
#include "modules/ignition/ui/vehicle_info_dialog.h"
#include "modules/ignition/version_gates.h"
#include "platform/process.h"
#include "shell/message_helpers.h"
#include "shell/page_registry.h"
#include "shell/settings_file.h"
#include "shell/ui/qt_controls.h"
#include "shell/ui/qt_dialog_units.h"
#include "shell/ui/qt_edit_fields.h"
#include "shell/ui/qt_field_checks.h"
#include "shell/ui/qt_tooltips.h"
#include "shell/ui/tab_host_window.h"
#include "shell/user_prompts.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace ignition {

using shell::FieldChecks, shell::fieldNumber, shell::makeNumberField, shell::setFieldNumber;

namespace {

using P = IgnitionPage;

constexpr shell::TooltipEntry kTooltips[] = {
    {P::kReadButton, 8680},   {P::kWriteButton, 8679},       {P::kLoadButton, 8682},
    {P::kSaveButton, 8663},   {P::kDeleteButton, 8620},      {P::kEditButton, 8628},
    {P::kInsertButton, 8614}, {P::kLimiterEdit, 8662},       {P::kSettingsButton, 8670},
    {P::kGraphButton, 8655},  {P::kVehicleInfoButton, 8642},
};

QListWidget* makeCurveList(QWidget* parent, int32_t id) {
  auto* list = new QListWidget(parent);
  shell::setControlId(list, id);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The widest entry beside a scroll bar: 17 entries do not fit the height.
  const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  list->setFixedWidth(list->fontMetrics().horizontalAdvance(QStringLiteral("00000 rpm -40")) +
                      scrollBar + 2 * list->frameWidth() + 4);
  return list;
}

QLabel* makeStatic(QWidget* parent, int32_t id) {
  auto* label = new QLabel(parent);
  shell::setControlId(label, id);
  return label;
}

}  // namespace

IgnitionPage::IgnitionPage(shell::SettingsFile& settings, buslink::ModuleLink& link,
                           shell::UserPrompts& prompts)
    : ModulePage(shell::kPageIgnition),
      settings_(settings),
      link_(link),
      prompts_(prompts),
      programStarter_([](const ViewerCall& call, std::string& why) {
        return platform::startProgram(platform::siblingProgram(call.program), call.arguments, why);
      }) {
  initialiseState(state_);
  state_.pinEntry = this;
}

// The widget goes first, while the members its handlers use still exist;
// the base class would delete it after them.
IgnitionPage::~IgnitionPage() {
  delete widget();
}

QWidget* IgnitionPage::createWidget(QWidget* parent) {
  // The file dialog starts where the last settings file was.
  initialiseIgnitionFileDialog(fileDialog_, settings_);

  auto* page = new QWidget(parent);
  shell::setControlId(page, kDialog);
  auto button = [this, page](const char* caption, int32_t id) {
    auto* b = new QPushButton(QString::fromUtf8(caption), page);
    shell::setControlId(b, id);
    b->setAutoDefault(false);
    // The page is small: buttons may be as narrow as their caption.
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 14);
    QObject::connect(b, &QPushButton::clicked, page, [this, id] { send(id); });
    return b;
  };
  auto row = [](std::initializer_list<QWidget*> widgets) {
    auto* layout = new QHBoxLayout;
    layout->setSpacing(4);
    for (QWidget* w : widgets) layout->addWidget(w);
    return layout;
  };
  auto group = [page](const QString& title, QLayout* content) {
    auto* box = new QGroupBox(title, page);
    content->setContentsMargins(6, 2, 6, 6);
    box->setLayout(content);
    return box;
  };

  curve1_ = makeCurveList(page, kCurve1List);
  curve2_ = makeCurveList(page, kCurve2List);
  lists_ = new ListPair(curve1_, curve2_, kCurve1List, kCurve2List, page);
  for (QListWidget* list : {curve1_.data(), curve2_.data()}) {
    const int32_t id = list == curve1_ ? kCurve1List : kCurve2List;
    QObject::connect(list, &QListWidget::itemDoubleClicked, page, [this, id] {
      lists_->activate(id);
      send(kEditButton);
    });
  }

  limiter_ = makeNumberField(page, kLimiterEdit, 5);
  limiterCheck_ = new FieldChecks(page);
  limiterCheck_->add(
      limiter_, [this] { return limiterPasses(); },
      [this] { prompts_.showMessage(texts::kTextParameterOutOfRange); });

  version_ = makeStatic(page, kVersionStatic);
  serial_ = makeStatic(page, kSerialStatic);
  type_ = makeStatic(page, kTypeStatic);
  temperature_ = makeStatic(page, kTemperatureStatic);
  maxTemperature_ = makeStatic(page, kMaxTemperatureStatic);

  auto* corner = new QPushButton(page);
  shell::setControlId(corner, kMemoryImageButton);
  corner->setFixedSize(shell::dialogUnits(page, 5, 5));
  corner->setFocusPolicy(Qt::NoFocus);
  QObject::connect(corner, &QPushButton::clicked, page, [this] { send(kMemoryImageButton); });

  // The caption runs on inside the group: too narrow for the whole word.
  auto* heatLayout = new QVBoxLayout;
  heatLayout->setSpacing(0);
  heatLayout->addWidget(new QLabel(QStringLiteral("temperatur"), page));
  heatLayout->addWidget(temperature_);
  heatLayout->addWidget(maxTemperature_);
  QGroupBox* heat = group(QStringLiteral("Modul-"), heatLayout);

  auto* limiterRow = new QHBoxLayout;
  limiterRow->addWidget(new QLabel(QStringLiteral("Limiter"), page));
  limiterRow->addWidget(limiter_);
  limiterRow->addStretch(1);

  auto* side = new QVBoxLayout;
  side->setSpacing(4);
  side->addWidget(group(QStringLiteral("Modul"),
                        row({button("Lesen", kReadButton), button("Schreiben", kWriteButton)})));
  side->addWidget(group(QStringLiteral("Datei"),
                        row({button("Laden", kLoadButton), button("Speichern", kSaveButton)})));
  side->addWidget(button("Einstellung", kSettingsButton));
  side->addLayout(
      row({button("Zündgrafik", kGraphButton), button("Kfz.-Info", kVehicleInfoButton)}));
  side->addLayout(limiterRow);
  side->addWidget(heat);
  side->addStretch(1);

  auto* identity = new QGridLayout;
  identity->setVerticalSpacing(2);
  identity->addWidget(new QLabel(QStringLiteral("Version:"), page), 0, 0);
  identity->addWidget(version_, 0, 1);
  identity->addWidget(new QLabel(QStringLiteral("SerNr:"), page), 0, 2);
  identity->addWidget(serial_, 0, 3);
  identity->addWidget(type_, 1, 0, 1, 4);
  identity->setColumnStretch(1, 1);
  identity->setColumnStretch(3, 1);

  auto* layout = new QGridLayout(page);
  layout->setContentsMargins(4, 6, 4, 4);
  layout->setHorizontalSpacing(4);
  layout->setVerticalSpacing(4);
  layout->addWidget(new QLabel(QStringLiteral("Zündkurve 1"), page), 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("Zündkurve 2"), page), 0, 1);
  layout->addWidget(curve1_, 1, 0);
  layout->addWidget(curve2_, 1, 1);
  layout->addLayout(row({button("Löschen", kDeleteButton), button("Bearbeiten", kEditButton),
                         button("Einfügen", kInsertButton)}),
                    2, 0, 1, 2);
  layout->addLayout(side, 0, 2, 3, 1);
  layout->addLayout(identity, 3, 0, 1, 3);
  layout->addWidget(corner, 4, 0, Qt::AlignLeft | Qt::AlignBottom);
  layout->setRowStretch(1, 1);

  shell::createTooltips(page, kTooltips);
  fillWidgets();
  return page;
}

void IgnitionPage::fillWidgets() {
  if (curve1_ == nullptr) return;  // the page has not been shown yet
  showEntries(curve1_, state_.curve1.entries());
  showEntries(curve2_, state_.curve2.entries());
  const bool curvesUsed = state_.record.directModeActive == 0;
  curve1_->setEnabled(curvesUsed);
  curve2_->setEnabled(curvesUsed);
  setFieldNumber(limiter_, state_.limiterEdit);
  version_->setText(QString::fromStdString(state_.versionText));
  serial_->setText(QString::fromStdString(state_.serialText));
  type_->setText(QString::fromStdString(state_.typeText));
  temperature_->setText(QString::fromStdString(state_.temperatureText));
  maxTemperature_->setText(QString::fromStdString(state_.maxTemperatureText));
}

int32_t IgnitionPage::activeList() const {
  return lists_ != nullptr ? lists_->active() : kCurve1List;
}

QListWidget* IgnitionPage::activeListWidget() const {
  return activeList() == kCurve2List ? curve2_.data() : curve1_.data();
}

CurveList& IgnitionPage::activeCurve() {
  return activeList() == kCurve2List ? state_.curve2 : state_.curve1;
}

void IgnitionPage::send(int32_t command) {
  shell::TabHostWindow* tabHost = host();
  if (tabHost != nullptr && tabHost->page(pageId()) == this) {
    tabHost->sendCommand(command);
  } else {
    handleCommand(0, command);
  }
}

DialogStack& IgnitionPage::dialogs() {
  shell::TabHostWindow* tabHost = host();
  dialogs_.setHost(tabHost != nullptr && tabHost->page(pageId()) == this ? tabHost : nullptr);
  return dialogs_;
}

bool IgnitionPage::limiterPasses() const {
  const auto v = fieldNumber(limiter_);
  return v && FieldRange{0, gates::maximumLimiterRpm(state_.record.firmwareVersion)}.contains(*v);
}

bool IgnitionPage::takeLimiter() {
  if (!limiterPasses()) return false;
  state_.limiterEdit = *fieldNumber(limiter_);
  return true;
}

bool IgnitionPage::requireLimiter() {
  if (takeLimiter()) return true;
  // Writing or graphing a limiter nobody checked: refuse as the field would.
  limiterCheck_->check(limiter_);
  return false;
}

int32_t IgnitionPage::handleCommand(int32_t dialogKey, int32_t command) {
  if (dialogKey != 0) return dialogs_.handleCommand(dialogKey, command);
  if (!created()) return 1;
  switch (command) {
    case kReadButton:
      read();
      return 0;
    case kWriteButton:
      write();
      return 0;
    case kLoadButton:
      load();
      return 0;
    case kSaveButton:
      save();
      return 0;
    case kMemoryImageButton:
      memoryImage();
      return 0;
    case kDeleteButton:
      deleteEntry();
      return 0;
    case kEditButton:
      editEntry();
      return 0;
    case kInsertButton:
      insertEntry();
      return 0;
    case kSettingsButton:
      openSettings();
      return 0;
    case kGraphButton:
      openGraph();
      return 0;
    case kVehicleInfoButton: {
      VehicleInfoDialog info(dialogs(), state_.record, widget());
      dialogs().run(VehicleInfoDialog::kKey, info);
      return 0;
    }
    default:
      return 1;
  }
}

void IgnitionPage::read() {
  takeLimiter();
  const int32_t result = readIgnition(state_, link_, prompts_);
  fillWidgets();
  shell::finishOperation(link_, prompts_, result);
}

void IgnitionPage::write() {
  if (!requireLimiter()) return;
  const int32_t result = writeIgnition(state_, link_, prompts_);
  fillWidgets();
  shell::finishOperation(link_, prompts_, result);
}

void IgnitionPage::load() {
  takeLimiter();
  const int32_t result = loadIgnitionFileWithDialog(state_, fileDialog_, settings_);
  fillWidgets();
  shell::finishOperation(link_, prompts_, result);
}

void IgnitionPage::save() {
  if (!requireLimiter()) return;
  const int32_t result = saveIgnitionFileWithDialog(state_, fileDialog_, settings_);
  shell::finishOperation(link_, prompts_, result);
}

void IgnitionPage::memoryImage() {
  takeLimiter();
  readMemoryImage(state_, link_, prompts_);
  fillWidgets();
}

void IgnitionPage::deleteEntry() {
  QListWidget* list = activeListWidget();
  const int row = selectedRow(list);
  if (row < 0 || !list->isEnabled()) return;
  CurveList& curve = activeCurve();
  const int next = curve.removeAt(row);
  showEntries(list, curve.entries());
  selectRow(list, next);
}

void IgnitionPage::editEntry() {
  QListWidget* list = activeListWidget();
  const int row = selectedRow(list);
  if (row < 0 || row >= activeCurve().size() || !list->isEnabled()) return;
  const std::string& entry = activeCurve().entries()[static_cast<size_t>(row)];
  edit_ = {entryRpm(entry), entryAngle(entry), row};
  runCurveEditor();
}

void IgnitionPage::insertEntry() {
  if (!activeListWidget()->isEnabled()) return;
  if (activeCurve().size() >= kMaxCurveEntries) {
    prompts_.showMessage(texts::kTextCurveTooManyEntries);
    return;
  }
  edit_ = CurveEditState{};
  runCurveEditor();
}

void IgnitionPage::runCurveEditor() {
  takeLimiter();
  CurveList& curve = activeCurve();
  CurveEditDialog editor(dialogs(), prompts_, curve, edit_, state_.record.Offset, widget());
  dialogs().run(CurveEditDialog::kKey, editor);
  showEntries(activeListWidget(), curve.entries());
}

void IgnitionPage::openSettings() {
  takeLimiter();
  BasicSettingsDialog settings(dialogs(), prompts_, state_, offsetIsVersatz_, widget());
  settings.setAssistant([this, &settings] { runAssistant(settings); });
  settings.setTools([this](QWidget* parent) { openTools(parent); });
  settings.setPinChange([this](QWidget* parent) {
    if (startPinChange(state_, link_, prompts_) != 0) return;
    PinChangeDialog pin(dialogs(), state_, link_, prompts_, parent);
    dialogs().run(PinChangeDialog::kKey, pin);
  });
  dialogs().run(BasicSettingsDialog::kKey, settings);
  // Saving may have switched direct mode, which resets the curves.
  fillWidgets();
}

void IgnitionPage::runAssistant(BasicSettingsDialog& settings) {
  const AssistantResult result = ignition::runAssistant(state_, link_, prompts_);
  if (!result.ran) return;
  settings.reload();
  fillWidgets();
  AssistantSummaryWindow summary(
      dialogs(), result.summary, [this] { write(); }, settings.window());
  dialogs().run(AssistantSummaryWindow::kKey, summary);
}

int32_t IgnitionPage::enterPin(IgnitionRecord& record, buslink::ModuleLink& link,
                               shell::UserPrompts& prompts) {
  link.readByte(addr::kFlagsB, record.FlagsB);
  PinEntryDialog entry(dialogs(), record, link, prompts, widget());
  dialogs().run(PinEntryDialog::kKey, entry);
  return entry.status();
}

void IgnitionPage::openTools(QWidget* parent) {
  ToolsDialog tools(
      dialogs(), [this, parent](int32_t button) { runTool(button, parent); }, parent);
  dialogs().run(ToolsDialog::kKey, tools);
}

void IgnitionPage::runTool(int32_t button, QWidget* parent) {
  switch (button) {
    case ToolsDialog::kRpmMeter:
      if (startRpmMeterTest(state_, link_, prompts_) == 0) {
        RpmMeterDialog meter(dialogs(), link_, state_.record, parent);
        dialogs().run(RpmMeterDialog::kKey, meter);
      }
      return;
    case ToolsDialog::kControl:
      if (startControl(state_, link_, prompts_) == 0) {
        ControlDialog control(dialogs(), link_, parent);
        dialogs().run(ControlDialog::kKey, control);
      }
      return;
    default: {
      const Viewer viewer = button == ToolsDialog::kTaktora ? Viewer::Taktora : Viewer::Funkora;
      std::string why;
      startViewer(viewer, state_, link_, prompts_, programStarter_, why);
      // Nothing opens on the screen: say why where a user can look.
      if (!why.empty()) std::fprintf(stderr, "Tunvexa: %s\n", why.c_str());
      return;
    }
  }
}

void IgnitionPage::openGraph() {
  if (!requireLimiter()) return;
  state_.record.limiterRpm = state_.limiterEdit;
  CurveGraphWindow graph(graphCurvePoints(state_.curve1, state_.record.Offset),
                         graphCurvePoints(state_.curve2, state_.record.Offset),
                         state_.record.limiterRpm,
                         (state_.record.FlagsC & bits::kFlagsCHardLimiter) != 0, widget());
  dialogs().run(CurveGraphWindow::kKey, graph);
}

}  // namespace ignition
