#include "firmware/ui/firmware_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "platform/clock.h"
#include "shell/ui/dialog_rows.h"
#include "shell/ui/dialog_table.h"
#include "shell/ui/text_input_dialog.h"
#include "shell/ui/wait_window.h"
#include "texts/firmware_update_text_ids.h"
#include "texts/text_table.h"

namespace firmware {

namespace {

const QString kTitle = QStringLiteral("BootLoader");

constexpr shell::ControlRow kControls[] = {
    shell::list(FirmwareWindow::kStepList, "", texts::kTipStepList),
    shell::pushButton(FirmwareWindow::kLoadButton, "Laden", texts::kTipLoadFirmware),
    shell::checkBox(FirmwareWindow::kActiveBox, "Aktiv", texts::kTipPassiveMode),
    shell::pushButton(FirmwareWindow::kProgramButton, "Programm", texts::kTipStartUpdate),
};

QString qt(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

FirmwareWindow::FirmwareWindow(buslink::BootLink& bootLink, buslink::ModuleLink& moduleLink,
                               std::string firmwareFolder, SettingsBackup backup, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Firmware-Update"));
  table_ = std::make_unique<shell::DialogTable>(this, kControls, [this](int32_t id) {
    if (id == kLoadButton) update_->load();
    if (id == kProgramButton) update_->activeStart();
    if (id == kActiveBox) update_->setPassive(activeBox()->isChecked());
  });
  auto* layout = new QGridLayout(this);
  layout->addWidget(stepList(), 0, 0, 1, 3);
  layout->addWidget(loadButton(), 1, 0);
  layout->addWidget(activeBox(), 1, 1);
  layout->addWidget(programButton(), 1, 2);
  stepList()->setMinimumSize(360, 220);
  programButton()->hide();
  activeBox()->setEnabled(false);

  files_.clearFilters();
  files_.addFilter("Boot-Loader-File (*.blf)", "*.blf");
  files_.setFolder(firmwareFolder);
  UpdateView& view = *this;
  update_ = std::make_unique<FirmwareUpdate>(bootLink, moduleLink, view, firmwareFolder);
  update_->setSettingsBackup(std::move(backup));
  // The window shows itself before the file dialog opens over it.
  QTimer::singleShot(0, this, [this] { update_->open(); });
}

FirmwareWindow::~FirmwareWindow() {
  closing_ = true;
  update_.reset();
}

QListWidget* FirmwareWindow::stepList() const {
  return table_->get<QListWidget>(kStepList);
}
QCheckBox* FirmwareWindow::activeBox() const {
  return table_->get<QCheckBox>(kActiveBox);
}
QPushButton* FirmwareWindow::programButton() const {
  return table_->get<QPushButton>(kProgramButton);
}
QPushButton* FirmwareWindow::loadButton() const {
  return table_->get<QPushButton>(kLoadButton);
}

void FirmwareWindow::reject() {
  // Ends a waiting worker; posts still queued find the window closing.
  closing_ = true;
  update_->close();
  closeWaitWindow();
  QDialog::reject();
}

void FirmwareWindow::addToList(const std::string& text, bool withTime) {
  QListWidget* list = stepList();
  if (withTime) {
    const platform::LocalTime t = platform::localTime();
    char time[16];
    std::snprintf(time, sizeof time, "%02i:%02i:%02i", t.hour, t.minute, t.second);
    list->addItem(QString::fromLatin1(time));
  }
  for (const QString& line : qt(text).split(QLatin1Char('\n'))) {
    for (qsizetype at = 0; at < line.size() || at == 0; at += kLineChars) {
      list->addItem(line.mid(at, kLineChars));
    }
  }
  list->setCurrentRow(list->count() - 1);
}

void FirmwareWindow::clearList() {
  stepList()->clear();
}

void FirmwareWindow::showMessage(const std::string& text) {
  QMessageBox::information(this, kTitle, qt(text));
}

bool FirmwareWindow::askYesNo(const std::string& text) {
  return QMessageBox::question(this, kTitle, qt(text), QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

bool FirmwareWindow::askText(const std::string& prompt, std::string& text, size_t maxChars) {
  shell::TextInputDialog dialog(qt(prompt), qt(text), maxChars + 1, this);
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.text().toStdString();
  return true;
}

bool FirmwareWindow::chooseFile(std::string& path) {
  return files_.openDialog(path) == 0;
}

void FirmwareWindow::openWaitWindow(int32_t steps, int32_t textId) {
  closeWaitWindow();
  wait_ = new shell::WaitWindow(steps, qt(std::string(texts::text(textId))), this);
  // Nothing in this window may be pressed while the module is programmed.
  wait_->setWindowModality(Qt::WindowModal);
  wait_->show();
}

void FirmwareWindow::stepWaitWindow() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (wait_) wait_->step();
      },
      Qt::QueuedConnection);
}

void FirmwareWindow::closeWaitWindow() {
  // The wait window refuses to be closed by the user; it goes when the
  // update is over.
  delete wait_.data();
}

void FirmwareWindow::showProgramButton(bool shown) {
  programButton()->setVisible(shown);
}

void FirmwareWindow::setActiveBox(bool enabled, bool checked) {
  activeBox()->setEnabled(enabled);
  activeBox()->setChecked(checked);
}

void FirmwareWindow::post(const WorkerPost& message) {
  QMetaObject::invokeMethod(
      this,
      [this, message] {
        if (!closing_) update_->handlePost(message);
      },
      Qt::QueuedConnection);
}

}  // namespace firmware
