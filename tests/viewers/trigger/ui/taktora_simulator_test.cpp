// Taktora against the bus simulator on a pseudo-terminal: the module
// identified, switched into its oscilloscope mode by the monitor, its paced
// 60-2 wheel recorded live, shown one revolution per row and saved.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "tests/support/simulator_process.h"
#include "tests/viewers/trigger/ui/hf_fixture.h"
#include "viewers/common/ui/uc_com.h"
#include "viewers/trigger/trigger_data_file.h"
#include "viewers/trigger/trigger_texts.h"

namespace trigger {
namespace {

using trigger_ui_test::TaktoraRun;

constexpr int kCom = 95;

TEST(TaktoraOnTheSimulator, RecordsTheWheelLiveAndAlignsRevolutionsAtTheGaps) {
  uitest::TempFolder folder;
  uitest::SimulatorProcess sim(kCom, folder.path, "ignition\n  serial 7654321\n  wheel-rpm 200\n");
  ASSERT_TRUE(sim.ready());
  TaktoraRun run(folder.path, "-com 95");
  HF& w = run.window;
  w.show();
  w.connectButton()->click();
  ASSERT_TRUE(w.zuend().ModInfoOk());
  EXPECT_EQ(w.panelText(4), "Ser.: 7654321");
  EXPECT_EQ(w.zuend().values().ModKwZaehne, 60);
  EXPECT_EQ(w.zuend().values().ModKwLuecke, 2);

  w.modeButton(DisplayMode::kLive)->click();
  // 200 rpm: 3.3 revolutions a second at 1920 samples a second.
  ASSERT_TRUE(uitest::waitFor([&] { return w.recording().DataCount > 4 * 1920; }, 15000));
  EXPECT_TRUE(
      uitest::waitFor([&] { return w.panelText(1) == QString::fromUtf8(kStatusStreaming); }));

  w.modeButton(DisplayMode::kSync)->click();
  const Analysis& a = w.analysis();
  ASSERT_EQ(a.status, AnalysisStatus::kOk);
  ASSERT_GE(a.gapCount(), 10);
  const Picture& sync = w.lastPicture();
  for (int i = 2; i <= a.gapCount(); ++i) EXPECT_EQ(a.teethBefore(i), 58) << i;
  for (size_t i = 2; i < sync.labels.size(); i += 2) EXPECT_EQ(sync.labels[i].text, "58");
  // Each row starts with its gap: the first column of channel A is marked.
  for (int i = 1; i <= a.gapCount(); ++i) {
    EXPECT_EQ(w.recording().marks[static_cast<size_t>(a.revolutionStart(i))], 1) << i;
  }
  uitest::saveShot(&w, QStringLiteral("taktora_simulator_sync"));

  // The saved recording gives the same analysis.
  w.saveData();
  ASSERT_TRUE(run.messages.saw("gespeichert"));
  std::string saved;
  for (const auto& e : std::filesystem::directory_iterator(w.dataFolder())) saved = e.path();
  viewers_test::RecordingMessages quiet;
  Recording loaded;
  ModuleValues values;
  ASSERT_TRUE(loadTriggerData(saved, loaded, values, quiet));
  EXPECT_EQ(values.ModSerienNr, "7654321");
  const Analysis again = analyse(loaded);
  ASSERT_EQ(again.gapCount(), a.gapCount());
  for (int i = 2; i <= again.gapCount(); ++i) EXPECT_EQ(again.teethBefore(i), 58);
  // A workshop script reaches the same verdict from the file.
  QProcess cli;
  cli.start(QStringLiteral(TUNVEXA_BIN_DIR "/tunvexa-cli/tunvexa-cli"),
            {"trigger", "analyse", QString::fromStdString(saved), "--teeth", "60", "--gap", "2"});
  ASSERT_TRUE(cli.waitForFinished(10000));
  const QString printed = QString::fromUtf8(cli.readAllStandardOutput());
  EXPECT_EQ(cli.exitCode(), 0) << printed.toStdString();
  EXPECT_TRUE(printed.contains(QStringLiteral("gaps %1\n").arg(a.gapCount())));
  EXPECT_TRUE(printed.contains(QStringLiteral("wheel 60-2: match\n")));
  w.connectButton()->click();
  w.close();
}

}  // namespace
}  // namespace trigger
