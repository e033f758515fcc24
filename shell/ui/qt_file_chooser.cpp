#include "shell/ui/qt_file_chooser.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

#include "shell/ui/qt_text.h"
#include "texts/text_ids.h"

namespace shell {

bool chooseFileWithQt(FileDialog::Kind kind, const FileDialog& dialog, std::string& chosenPath) {
  QFileDialog box(QApplication::activeWindow(), qtText(texts::kTextWindowTitle));
  const bool save = kind == FileDialog::Kind::Save;
  box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Open: the file must exist; save: any name, an existing file is asked about.
  box.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);

  QStringList filters;
  for (const auto& [description, pattern] : dialog.filters()) {
    // Several patterns are written "*.a;*.b"; Qt wants them apart by spaces.
    QString patterns = QString::fromStdString(pattern);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString text = QString::fromStdString(description);
    const QString suffix = QLatin1Char('(') + patterns + QLatin1Char(')');
    // "alle Dateien (*.*)" already names its pattern; Qt reads the last
    // parentheses, so the pattern must stand there exactly once.
    filters << (text.endsWith(suffix) ? text : text + QLatin1Char(' ') + suffix);
  }
  if (!filters.isEmpty()) box.setNameFilters(filters);

  if (!dialog.folder().empty()) box.setDirectory(QString::fromStdString(dialog.folder()));
  if (!dialog.fileName().empty()) box.selectFile(QString::fromStdString(dialog.fileName()));

  if (box.exec() != QDialog::Accepted) return false;
  const QStringList chosen = box.selectedFiles();
  if (chosen.isEmpty()) return false;
  chosenPath = chosen.first().toStdString();
  return true;
}

}  // namespace shell
