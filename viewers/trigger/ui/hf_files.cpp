#include "viewers/trigger/ui/hf_files.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>
#include <filesystem>
#include <system_error>

#include "viewers/common/ui/qt_viewer_messages.h"
#include "viewers/trigger/raw_import.h"
#include "viewers/trigger/trigger_data_file.h"
#include "viewers/trigger/trigger_texts.h"
#include "viewers/trigger/ui/hf.h"

namespace trigger {

QString askDataFile(QWidget* owner, int kind, const std::string& folder) {
  static const char* const kFilters[] = {
      "dat-Dateien (*.dat);;Alle Dateien (*)",
      "bin-Dateien (*.bin);;Alle Dateien (*)",
      "Text-Dateien (*.txt);;Alle Dateien (*)",
  };
  QFileDialog dialog(owner, QString(), QString::fromStdString(folder),
                     QString::fromLatin1(kFilters[kind]));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

void showFolder(const std::string& folder) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
}

QString HF::askFile(int kind) {
  return askDataFile(this, kind, dataFolder_);
}

void HF::saveData() {
  saveTriggerData(dataFileName(dataFolder_, platform::localTime()), recording_, zuend_.values(),
                  messages_);
}

void HF::loadData(const QString& path) {
  if (!loadTriggerData(path.toStdString(), recording_, zuend_.values(), messages_)) return;
  goOnWithStop();
}

void HF::importBinFile(const QString& path) {
  std::string bytes;
  if (!QFileInfo(path).isFile() || !readWholeFile(path.toStdString(), bytes)) {
    messages_.showTitled(kTitleRawImport, kTextRawMissing, viewers::MessageIcon::kError);
    return;
  }
  importRawFrames(bytes, recording_);
  goOnWithStop();
}

void HF::importTextFile(const QString& path) {
  std::string bytes;
  if (!QFileInfo(path).isFile() || !readWholeFile(path.toStdString(), bytes)) {
    messages_.showTitled(kTitleRawImport, kTextRawMissing, viewers::MessageIcon::kError);
    return;
  }
  importRawText(bytes, recording_);
  goOnWithStop();
}

}  // namespace trigger
