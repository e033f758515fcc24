#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>

#include "tests/support/ui_test_support.h"
#include "tests/viewers/common/ui/pty_port.h"
#include "tests/viewers/spark/ui/hf_fixture.h"
#include "viewers/spark/spark_texts.h"

namespace spark {
namespace {

namespace fs = std::filesystem;
using viewers_ui_test::PtyPort;

// Runs funkora with its own settings folder until it has started, then ends
// it as a desktop does (SIGTERM), which closes the window as "Beenden" does.
int runAndEnd(const QStringList& args, const std::string& configHome) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(configHome));
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p.start(QStringLiteral(TUNVEXA_BIN_DIR "/funkora/funkora"), args);
  if (!p.waitForStarted(10000)) return -1;
  // A signal that comes before the window is up waits for it.
  uitest::waitFor([] { return false; }, 400);
  ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
  if (!p.waitForFinished(10000)) {
    p.kill();
    p.waitForFinished();
    return -1;
  }
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
}

TEST(FunkoraProgram, ComAndZylReachTheStoredSettings) {
  PtyPort line(92);
  ASSERT_TRUE(line.ok());
  struct Case {
    QStringList args;
    const char* port;
    const char* cylinders;
  };
  const Case cases[] = {
      {{"-com", "92", "-zyl", "12"}, "COM92", "8"},
      {{"-zyl", "1"}, "COM1", "4"},
      {{"-zyl", "6", "-com", "COM92"}, "COM92", "6"},
      {{}, "COM1", "4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    uitest::TempFolder home;
    // The program looks for COM92 in its own settings folder.
    fs::create_directories(home.path + "/ZEB/ports");
    fs::create_symlink(fs::read_symlink(uitest::portsFolder() + "/com92"),
                       home.path + "/ZEB/ports/com92");
    ASSERT_EQ(runAndEnd(c.args, home.path), 0);

    const std::string file = home.path + "/ZEB/Funkora V1.0.0/Funkora.xml";
    ASSERT_TRUE(fs::exists(file));
    viewers_test::RecordingMessages messages;
    viewers::CConfig stored(funkoraProduct(), spark_ui_test::foldersIn(home.path), messages);
    ASSERT_TRUE(stored.SetXMLFile(file, false));
    EXPECT_FALSE(stored.loadFailed());
    EXPECT_EQ(stored.ReadText(kKeyPort), c.port);
    EXPECT_EQ(stored.ReadText(kKeyCylinders), c.cylinders);
  }
}

}  // namespace
}  // namespace spark
