#include "shell/ui/extras_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "link/module_link.h"
#include "link/port_scan.h"
#include "shell/page_registry.h"
#include "shell/settings_file.h"
#include "shell/ui/close_up_combo_box.h"
#include "shell/ui/module_selection_dialog.h"
#include "shell/ui/qt_controls.h"
#include "shell/ui/tab_host_window.h"
#include "shell/user_prompts.h"
#include "texts/text_ids.h"

namespace shell {

namespace {

constexpr int32_t kPortOpenMarker = 128;
constexpr uint8_t kPortTestAddress = 0x20;
constexpr int kTestReadBytes = 10;
constexpr int32_t kPortTestTimer = 421;

constexpr int kFirstDialogBits = 9;  // bits 0-8 in dialog 187
constexpr int kMoreDialogFirstBit = 9;
constexpr int kMoreDialogBits = 8;  // bits 9-16 in dialog 502

}  // namespace

ExtrasPage::ExtrasPage(SettingsFile& settings, buslink::ModuleLink& link, UserPrompts& prompts)
    : ModulePage(kPageExtras), settings_(settings), link_(link), prompts_(prompts) {}

ExtrasPage::~ExtrasPage() {
  if (timer_ != nullptr) timer_->stop();
}

QWidget* ExtrasPage::createWidget(QWidget* parent) {
  auto* page = new QWidget(parent);
  auto* layout = new QGridLayout(page);

  ports_ = new CloseUpComboBox(page);
  setControlId(ports_, kPortList);
  portTest_ = new QCheckBox(QStringLiteral("Com testen"), page);
  setControlId(portTest_, kPortTestBox);
  received_ = new QListWidget(page);
  setControlId(received_, kReceivedList);
  auto* selection = new QPushButton(QStringLiteral("Modulauswahl"), page);
  setControlId(selection, kModuleSelectionButton);
  auto* firmware = new QPushButton(QStringLiteral("Firmwareupd."), page);
  setControlId(firmware, kFirmwareButton);

  layout->addWidget(ports_, 0, 0);
  layout->addWidget(portTest_, 0, 1);
  layout->addWidget(received_, 1, 0, 1, 2);
  layout->addWidget(selection, 2, 0);
  layout->addWidget(firmware, 2, 1);
  layout->setColumnStretch(0, 1);
  layout->setColumnStretch(1, 1);

  timer_ = new QTimer(page);
  timer_->setObjectName(QString::number(kPortTestTimer));
  timer_->setInterval(kPortTestIntervalMs);

  // Every closing of the list takes the port that is selected then, also
  // when the user closes it without a choice.
  ports_->onCloseUp = [this] { choosePort(); };
  // Only a click by the user starts or stops the test; unchecking it from
  // code must not run the stop a second time.
  QObject::connect(portTest_, &QCheckBox::clicked, page, [this](bool checked) {
    if (checked) {
      startPortTest();
    } else {
      stopPortTest();
    }
  });
  QObject::connect(timer_, &QTimer::timeout, page, [this] { portTestTick(); });
  QObject::connect(selection, &QPushButton::clicked, page, [this] { runModuleSelection(); });
  QObject::connect(firmware, &QPushButton::clicked, page, [this] { runFirmwareUpdate(); });
  return page;
}

void ExtrasPage::show() {
  if (created()) {
    stopPortTest();
    portTest_->setChecked(false);
  }
  ModulePage::show();
  scanPorts();
}

void ExtrasPage::scanPorts() {
  int32_t remembered = link_.portNumber();
  if (remembered >= kPortOpenMarker) remembered -= kPortOpenMarker;
  ports_->clear();
  int selected = -1;
  for (int32_t n : buslink::openablePorts(link_)) {
    char name[16];
    std::snprintf(name, sizeof name, "COM%i", n);
    ports_->addItem(QString::fromLatin1(name));
    if (n == remembered) selected = ports_->count() - 1;
  }
  // A combo box selects its first entry by itself; when the remembered port
  // is not free nothing may look chosen.
  ports_->setCurrentIndex(selected);
  if (ports_->count() == 0) prompts_.showMessage(texts::kTextNoFreeComPort);
}

void ExtrasPage::choosePort() {
  if (ports_ == nullptr || ports_->currentIndex() < 0) {
    stopPortTest();
    if (portTest_ != nullptr) portTest_->setChecked(false);
    return;
  }
  const std::string entry = ports_->currentText().toStdString();
  const int32_t port = std::atoi(entry.size() > 3 ? entry.c_str() + 3 : "");
  stopPortTest();
  // The test no longer runs; the box must not claim otherwise.
  portTest_->setChecked(false);
  link_.setPortNumber(port);
  char value[16];
  std::snprintf(value, sizeof value, "%i", port);
  settings_.set("ComPort", value);
}

void ExtrasPage::startPortTest() {
  // Opens the port at 9600 with RTS on and DTR off; whether a module answers
  // does not matter for watching the line.
  link_.selectModule(kPortTestAddress);
  timer_->start(kPortTestIntervalMs);
  received_->clear();
}

void ExtrasPage::stopPortTest() {
  link_.close();
  if (timer_ != nullptr) timer_->stop();
  if (received_ != nullptr) received_->clear();
}

bool ExtrasPage::portTestRunning() const {
  return timer_ != nullptr && timer_->isActive();
}

void ExtrasPage::portTestTick() {
  if (host() == nullptr || host()->visiblePage() != this) {
    timer_->stop();
    return;
  }
  uint8_t bytes[kTestReadBytes];
  const int32_t count = link_.serialPort().read(bytes, kTestReadBytes);
  if (count <= 0) return;
  QString line;
  for (int32_t i = 0; i < count; ++i) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02x ", bytes[i]);
    line += QString::fromLatin1(hex);
  }
  received_->addItem(line);
}

void ExtrasPage::runModuleSelection() {
  TabHostWindow* tabHost = host();
  ModuleSelectionDialog dialog(
      QStringLiteral("Modulauswahl"), moduleChoicesFirst(), true,
      [tabHost](int32_t command) { tabHost->sendCommand(command); }, tabHost);
  dialog.setCheckedBits(maskBits(settings_.getInt("FensterListe", 1), 0, kFirstDialogBits));
  selection_ = &dialog;
  tabHost->runSubDialog(kKeyModuleSelection, dialog);
  selection_ = nullptr;
  tabHost->setDialogKey(0);
  tabHost->buildPageList();
}

void ExtrasPage::runFirmwareUpdate() {
  if (!makeFirmwareWindow_) return;
  // The window takes the module link's port for itself.
  stopPortTest();
  portTest_->setChecked(false);
  std::unique_ptr<QDialog> window = makeFirmwareWindow_(host());
  host()->runSubDialog(kKeyFirmware, *window);
}

int32_t ExtrasPage::confirmSelection(int firstBit, int count, ModuleSelectionDialog* dialog) {
  // Read again: the other dialog may have written its bits meanwhile.
  const int32_t mask = settings_.getInt("FensterListe", 1);
  const int32_t updated = replaceMaskBits(mask, firstBit, count, dialog->checkedBits());
  char value[16];
  std::snprintf(value, sizeof value, "%i", updated);
  settings_.set("FensterListe", value);
  dialog->accept();
  return 0;
}

int32_t ExtrasPage::handleCommand(int32_t dialogKey, int32_t command) {
  if (dialogKey == kKeyModuleSelection && selection_ != nullptr) {
    if (command == kCommandOk) return confirmSelection(0, kFirstDialogBits, selection_);
    if (command == kCommandMore) {
      TabHostWindow* tabHost = host();
      ModuleSelectionDialog more(
          QStringLiteral("Modulauswahl weitere"), moduleChoicesMore(), false,
          [tabHost](int32_t c) { tabHost->sendCommand(c); }, selection_);
      more.setCheckedBits(
          maskBits(settings_.getInt("FensterListe", 1), kMoreDialogFirstBit, kMoreDialogBits));
      selectionMore_ = &more;
      tabHost->runSubDialog(kKeyModuleSelectionMore, more);
      selectionMore_ = nullptr;
      return 0;
    }
  }
  if (dialogKey == kKeyModuleSelectionMore && selectionMore_ != nullptr && command == kCommandOk) {
    return confirmSelection(kMoreDialogFirstBit, kMoreDialogBits, selectionMore_);
  }
  return 1;
}

}  // namespace shell
