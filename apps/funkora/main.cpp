#include <QApplication>
#include <string>
#include <vector>

#include "apps/funkora/quit_on_signal.h"
#include "shell/ui/qt_translations.h"
#include "viewers/common/command_line.h"
#include "viewers/common/config.h"
#include "viewers/common/err_log.h"
#include "viewers/common/ui/qt_viewer_messages.h"
#include "viewers/common/viewer_folders.h"
#include "viewers/spark/ui/funkora_product.h"
#include "viewers/spark/ui/hf.h"

// Funkora: the rpm chart of an ignition module, started by Tunvexa with
// "-com n -zyl n" or by the user.
int main(int argc, char** argv) {
  funkora::holdQuitSignals();
  const std::vector<std::string> arguments(argv + 1, argv + argc);

  // The command line is the viewer's own; Qt gets none of it.
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QApplication app(qtArgc, qtArgv);
  shell::installGermanQtTexts(app);

  const viewers::ProductInfo product = spark::funkoraProduct();
  viewers::QtViewerMessages messages(product.name);
  const viewers::ViewerFolders folders =
      viewers::ViewerFolders::fromEnvironment(QCoreApplication::applicationDirPath().toStdString());
  viewers::CConfig config(product, folders, messages);
  viewers::CErrLog errLog(viewers::applicationDataBase(folders, product) + "Err.log");
  viewers::CCommandLine commandLine(viewers::CCommandLine::joinArguments(arguments), messages);

  spark::HF window(config, commandLine, messages, product);
  messages.setOwner(&window);
  if (!window.load()) return 1;
  funkora::closeOnQuitSignals(window);
  window.show();
  return app.exec();
}
