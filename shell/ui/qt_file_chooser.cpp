#include "shell/ui/qt_file_chooser.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

#include "shell/ui/qt_text.h"
#include "texts/text_ids.h"

namespace shell {

QString filterSuffix(const QString& filter) {
  // The patterns stand in the last parentheses; the first one counts.
  const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
  const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
  if (open < 0 || close < open) return {};
  const QString first =
      filter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0);
  if (!first.startsWith(QStringLiteral("*."))) return {};
  const QString suffix = first.mid(2);
  // "*.*" and patterns with wildcards name no one extension.
  if (suffix.isEmpty() || suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?'))) {
    return {};
  }
  return suffix;
}

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
  if (save) {
    // A name typed without an extension gets the one of the chosen filter,
    // before the question about overwriting: otherwise "Golf" would be saved
    // as a file that the load dialog's filter hides.
    box.setDefaultSuffix(filterSuffix(box.selectedNameFilter()));
    QObject::connect(&box, &QFileDialog::filterSelected, &box,
                     [&box](const QString& filter) { box.setDefaultSuffix(filterSuffix(filter)); });
  }

  if (!dialog.folder().empty()) box.setDirectory(QString::fromStdString(dialog.folder()));
  if (!dialog.fileName().empty()) box.selectFile(QString::fromStdString(dialog.fileName()));

  if (box.exec() != QDialog::Accepted) return false;
  const QStringList chosen = box.selectedFiles();
  if (chosen.isEmpty()) return false;
  chosenPath = chosen.first().toStdString();
  return true;
}

}  // namespace shell
