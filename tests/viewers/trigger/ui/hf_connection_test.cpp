#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include "tests/viewers/common/ui/pty_port.h"
#include "tests/viewers/trigger/ui/fake_ignition.h"
#include "tests/viewers/trigger/ui/hf_fixture.h"
#include "viewers/common/ui/uc_com.h"
#include "viewers/trigger/trigger_texts.h"
#include "viewers/trigger/ui/scope_view.h"

namespace trigger {
namespace {

using trigger_ui_test::FakeIgnition;
using trigger_ui_test::TaktoraRun;
using viewers_ui_test::PtyPort;

class TaktoraConnection : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(line_.ok()); }

  uitest::TempFolder folder_;
  PtyPort line_{91};
};

TEST_F(TaktoraConnection, ConnectReadsTheModuleThenRecordsLive) {
  FakeIgnition module(line_);
  TaktoraRun run(folder_.path, "-com 91");
  HF& w = run.window;
  w.show();
  w.connectButton()->click();
  ASSERT_TRUE(w.zuend().ModInfoOk());
  EXPECT_TRUE(w.connectButton()->isChecked());
  EXPECT_EQ(w.panelText(2).toStdString(), typeName(3));
  EXPECT_EQ(w.panelText(3), "V 1.5.2");
  EXPECT_EQ(w.panelText(4), "Ser.: 1234567");
  EXPECT_TRUE(run.messages.saw("Verbunden mit " + typeName(3) + " V 1.5.2"));
  EXPECT_TRUE(uitest::waitFor([&] { return w.panelText(1) == "Verbunden"; }));
  // While "Stop" shows, the monitor switches the module into its
  // oscilloscope mode; what it sends is thrown away.
  ASSERT_TRUE(uitest::waitFor([&] { return module.streaming(); }));
  EXPECT_EQ(w.recording().DataCount, 0);

  w.modeButton(DisplayMode::kLive)->click();
  ASSERT_TRUE(uitest::waitFor([&] { return w.recording().DataCount > 3 * 1920; }, 10000));
  EXPECT_TRUE(
      uitest::waitFor([&] { return w.panelText(1) == QString::fromUtf8(kStatusStreaming); }));
  EXPECT_FALSE(w.extrasMenu()->isEnabled());
  EXPECT_FALSE(w.helpMenu()->isEnabled());
  EXPECT_GT(w.liveFramesDrawn(), 10);
  // The live row ends with the newest sample.
  const Picture& live = w.lastPicture();
  ASSERT_EQ(live.traces.size(), 2u);
  EXPECT_GT(live.traces[0].points.back().x, w.scopeView()->width() - 5);
  uitest::saveShot(&w, QStringLiteral("taktora_live"));

  w.modeButton(DisplayMode::kSync)->click();
  ASSERT_EQ(w.analysis().status, AnalysisStatus::kOk);
  ASSERT_GE(w.analysis().gapCount(), 2);
  for (int i = 2; i <= w.analysis().gapCount(); ++i) EXPECT_EQ(w.analysis().teethBefore(i), 58);
  EXPECT_TRUE(uitest::waitFor([&] { return w.extrasMenu()->isEnabled(); }));

  // Released: the port closes and the module information is forgotten.
  w.connectButton()->click();
  EXPECT_FALSE(w.com().PortIsOpen());
  EXPECT_FALSE(w.zuend().ModInfoOk());
  EXPECT_EQ(w.panelText(2), "");
  EXPECT_TRUE(
      uitest::waitFor([&] { return w.panelText(1) == QString::fromUtf8(kStatusSwitchOn); }));
  w.close();
}

TEST_F(TaktoraConnection, SilentModuleIsReportedAndTheButtonReleased) {
  FakeIgnition module(line_);
  module.answers = false;
  TaktoraRun run(folder_.path, "-com 91");
  run.window.show();
  QElapsedTimer clock;
  clock.start();
  run.window.connectButton()->click();
  EXPECT_LT(clock.elapsed(), 1000);
  EXPECT_TRUE(run.messages.saw(kTextNoModuleData));
  EXPECT_FALSE(run.window.connectButton()->isChecked());
  EXPECT_FALSE(run.window.com().PortIsOpen());
  run.window.close();
}

TEST_F(TaktoraConnection, PortThatDoesNotOpen) {
  TaktoraRun run(folder_.path, "-com 77");
  run.window.show();
  run.window.connectButton()->click();
  EXPECT_TRUE(run.messages.saw(kTextNoPort));
  EXPECT_FALSE(run.window.connectButton()->isChecked());
  run.window.close();
}

TEST_F(TaktoraConnection, ClosingWhileAFrameWaitsClosesShortlyAfter) {
  FakeIgnition module(line_);
  module.answers = false;
  TaktoraRun run(folder_.path, "-com 91");
  run.window.show();
  QElapsedTimer clock;
  QTimer::singleShot(30, [&] {
    clock.start();
    EXPECT_TRUE(run.window.zuend().SendenAktiv());
    run.window.close();
  });
  run.window.connectButton()->click();
  ASSERT_TRUE(uitest::waitFor([&] { return !run.window.isVisible(); }, 2000));
  EXPECT_GE(clock.elapsed(), 90);
  EXPECT_LT(clock.elapsed(), 1000);
}

}  // namespace
}  // namespace trigger
