#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>

#include "tests/support/ui_test_support.h"
#include "tests/viewers/common/viewers_test_support.h"
#include "tests/viewers/trigger/ui/hf_fixture.h"
#include "viewers/common/config.h"

namespace trigger {
namespace {

namespace fs = std::filesystem;

// Starts taktora with its own settings folder.
void start(QProcess& p, const QStringList& args, const std::string& home) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(home));
  env.insert(QStringLiteral("HOME"), QString::fromStdString(home));
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p.start(QStringLiteral(TUNVEXA_BIN_DIR "/taktora/taktora"), args);
}

void end(QProcess& p) {
  if (!p.waitForFinished(10000)) {
    p.kill();
    p.waitForFinished();
  }
}

TEST(TaktoraProgram, CommandLineFromTunvexaReachesTheStoredSettings) {
  uitest::TempFolder home;
  QProcess p;
  start(p, {"-com", "96", "-zahn", "60", "-luecke", "2"}, home.path);
  ASSERT_TRUE(p.waitForStarted(10000));
  uitest::waitFor([] { return false; }, 600);
  ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
  end(p);
  ASSERT_EQ(p.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(p.exitCode(), 0);

  const std::string file = home.path + "/ZEB/Taktora V1.2.1/Taktora.xml";
  ASSERT_TRUE(fs::exists(file));
  viewers_test::RecordingMessages messages;
  viewers::CConfig stored(taktoraProduct(), trigger_ui_test::foldersIn(home.path), messages);
  ASSERT_TRUE(stored.SetXMLFile(file, false));
  EXPECT_EQ(stored.ReadText("Port"), "COM96");
  EXPECT_EQ(stored.ReadText("Display/Zeilenh\xC3\xB6he"), "50");
  EXPECT_EQ(stored.ReadText("Display/Farben/LinieA"), "16711680");
}

TEST(TaktoraProgram, HelpBoxComesBeforeTheWindow) {
  // The box waits for its OK: the program neither ends nor stores anything
  // until then.
  uitest::TempFolder home;
  QProcess p;
  start(p, {"-h"}, home.path);
  ASSERT_TRUE(p.waitForStarted(10000));
  EXPECT_FALSE(p.waitForFinished(1500));
  EXPECT_EQ(p.state(), QProcess::Running);
  p.kill();
  p.waitForFinished();
  EXPECT_FALSE(fs::exists(home.path + "/ZEB/Taktora V1.2.1/Taktora.xml"));
}

}  // namespace
}  // namespace trigger
