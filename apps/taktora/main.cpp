#include <QApplication>
#include <string>
#include <vector>

#include "apps/funkora/quit_on_signal.h"
#include "shell/ui/qt_translations.h"
#include "viewers/common/command_line.h"
#include "viewers/common/config.h"
#include "viewers/common/err_log.h"
#include "viewers/common/viewer_folders.h"
#include "viewers/trigger/ui/hf.h"
#include "viewers/trigger/ui/qt_trigger_messages.h"
#include "viewers/trigger/ui/taktora_product.h"

// Taktora: the trigger oscilloscope of an ignition module, started by
// Tunvexa with "-com n -zahn n -luecke n" or by the user.
int main(int argc, char** argv) {
  funkora::holdQuitSignals();
  const std::vector<std::string> arguments(argv + 1, argv + argc);

  // The command line is the viewer's own; Qt gets none of it.
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QApplication app(qtArgc, qtArgv);
  shell::installGermanQtTexts(app);

  const viewers::ProductInfo product = trigger::taktoraProduct();
  trigger::QtTriggerMessages messages(product.name);
  const viewers::ViewerFolders folders =
      viewers::ViewerFolders::fromEnvironment(QCoreApplication::applicationDirPath().toStdString());
  viewers::CConfig config(product, folders, messages);
  // The diagnostic log stays off in this program, as it always was.
  viewers::CErrLog errLog(viewers::applicationDataBase(folders, product) + "Err.log");
  viewers::CCommandLine commandLine(viewers::CCommandLine::joinArguments(arguments), messages);

  trigger::HF window(config, commandLine, messages, product, folders, &errLog);
  messages.setOwner(&window);
  if (!window.load()) return 1;
  funkora::closeOnQuitSignals(window);
  window.show();
  return app.exec();
}
