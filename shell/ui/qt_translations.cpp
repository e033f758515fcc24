#include "shell/ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace shell {

bool installGermanQtTexts(QCoreApplication& app) {
  const QLocale german(QLocale::German, QLocale::Germany);
  QLocale::setDefault(german);
  // "qt_de" bundles qtbase_de, which holds the dialogs and standard buttons.
  auto* translator = new QTranslator(&app);
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!translator->load(german, QStringLiteral("qtbase"), QStringLiteral("_"), folder) &&
      !translator->load(german, QStringLiteral("qt"), QStringLiteral("_"), folder)) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace shell
