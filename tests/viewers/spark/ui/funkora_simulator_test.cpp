// The rpm chart against the bus simulator on a pseudo-terminal: the module
// switched into its log mode by the window, its paced packet stream at
// 38400 baud, the engine's speed in the columns.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QToolButton>
#include <cmath>
#include <fstream>

#include "tests/support/simulator_process.h"
#include "tests/viewers/spark/ui/hf_fixture.h"
#include "viewers/common/ui/uc_com.h"
#include "viewers/spark/spark_texts.h"

namespace spark {
namespace {

using spark_ui_test::FunkoraRun;

constexpr int kCom = 94;

int newestColumn(const SparkCore& core) {
  return core.columnIndex() == 0 ? core.pictureWidth() : core.columnIndex() - 1;
}

TEST(FunkoraOnTheSimulator, ShowsTheEngineSpeedOfTheModule) {
  uitest::TempFolder folder;
  // 5000 rpm, 4 cylinders, 4 strokes: a spark every 7 500 000 x 4 / (5000 x 4)
  // = 1500 ticks of 4 us, which reads back as exactly 5000 rpm.
  uitest::SimulatorProcess sim(kCom, folder.path, "ignition\n  engine 5000\n");
  ASSERT_TRUE(sim.ready());
  FunkoraRun run(folder.path, "-com 94 -zyl 4");
  ASSERT_TRUE(run.loaded);
  HF& w = run.window;
  w.show();
  w.connectButton()->click();
  ASSERT_TRUE(uitest::waitFor([&] { return w.com().PortIsOpen(); }));

  auto newest = [&] {
    const auto k = static_cast<size_t>(newestColumn(w.core()));
    return std::make_pair(w.core().minima()[k], w.core().maxima()[k]);
  };
  ASSERT_TRUE(uitest::waitFor(
      [&] {
        const auto [low, high] = newest();
        return w.core().dataFlag() && std::abs(low - 5000.0) < 0.5 && std::abs(high - 5000.0) < 0.5;
      },
      10000))
      << "newest column " << newest().first << " .. " << newest().second;
  // A second of columns later nothing was disturbed on the way.
  uitest::waitFor([] { return false; }, 1000);
  EXPECT_FALSE(w.core().disturbedFlag());
  EXPECT_NEAR(newest().first, 5000.0, 0.5);
  EXPECT_NEAR(newest().second, 5000.0, 0.5);
  EXPECT_EQ(w.statusBarText(), kStatusRunning);
  w.scaleButton(2)->click();
  uitest::waitFor([] { return false; }, 300);
  EXPECT_TRUE(uitest::saveShot(&w, QStringLiteral("funkora_simulator")));

  w.connectButton()->click();
  EXPECT_TRUE(uitest::waitFor([&] { return !w.com().PortIsOpen(); }));
  w.close();
}

}  // namespace
}  // namespace spark
