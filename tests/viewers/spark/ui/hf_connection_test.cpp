#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "tests/viewers/common/ui/pty_port.h"
#include "tests/viewers/spark/ui/hf_fixture.h"
#include "tests/viewers/spark/ui/picture_checks.h"
#include "viewers/common/ui/uc_com.h"
#include "viewers/spark/spark_texts.h"
#include "viewers/spark/ui/chart_view.h"

namespace spark {
namespace {

using spark_ui_test::countInRow;
using spark_ui_test::Engine;
using spark_ui_test::FunkoraRun;
using viewers_ui_test::PtyPort;

const QByteArray kLogModeCommand("\xEE\x30\x08\x8C", 4);

int newestColumn(const SparkCore& core) {
  return core.columnIndex() == 0 ? core.pictureWidth() : core.columnIndex() - 1;
}

bool newestIs(const SparkCore& core, double speed) {
  const auto k = static_cast<size_t>(newestColumn(core));
  return std::abs(core.minima()[k] - speed) < 1e-6 && std::abs(core.maxima()[k] - speed) < 1e-6;
}

bool has(const std::vector<std::string>& texts, const char* text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The module's side of the line: what the window sent, and a packet stream
// while `running`.
class Module {
 public:
  explicit Module(PtyPort& line) : line_(line) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      sent_ += line_.readAll();
      if (running) line_.write(engine.steady(delta));
    });
    timer_.start(5);
  }
  // What the window sent since the last look.
  QByteArray takeSent() {
    sent_ += line_.readAll();
    QByteArray all = sent_;
    sent_.clear();
    return all;
  }

  Engine engine;
  uint32_t delta = 1000;
  bool running = false;

 private:
  PtyPort& line_;
  QTimer timer_;
  QByteArray sent_;
};

class HFConnection : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(line_.ok()); }
  void connectWindow(FunkoraRun& run) {
    ASSERT_TRUE(run.loaded);
    run.window.show();
    run.window.connectButton()->click();
    ASSERT_TRUE(uitest::waitFor([&] { return run.window.pauseButton()->isEnabled(); }));
    ASSERT_TRUE(run.window.com().PortIsOpen());
  }

  uitest::TempFolder folder_;
  PtyPort line_{93};
};

// The whole life of a connection: log-mode command until speeds arrive, the
// speeds in the columns, a disturbed packet, silence, release.
TEST_F(HFConnection, LogModeUntilSpeedsArriveThenTheColumnsShowThem) {
  FunkoraRun run(folder_.path, "-com 93 -zyl 6");
  Module module(line_);
  connectWindow(run);
  HF& w = run.window;

  // No speeds yet: the command goes out again and again.
  ASSERT_TRUE(uitest::waitFor([&] { return module.takeSent().count(kLogModeCommand) > 0; }));
  ASSERT_TRUE(uitest::waitFor([&] { return module.takeSent().count(kLogModeCommand) > 0; }));
  EXPECT_EQ(w.com().settingsText(), "38400,n,8,1");

  // 6 cylinders, 1000 ticks between events: 5000 rpm.
  module.running = true;
  ASSERT_TRUE(uitest::waitFor([&] { return w.core().dataFlag() && newestIs(w.core(), 5000.0); }));
  EXPECT_TRUE(uitest::waitFor([&] { return w.statusBarText() == kStatusRunning; }));
  EXPECT_FALSE(has(w.lastDrawn().overlay, kTextNoData));
  // Speeds arrive: the command is not repeated.
  module.takeSent();
  uitest::waitFor([] { return false; }, 300);
  EXPECT_EQ(module.takeSent().count(kLogModeCommand), 0);

  // A packet with a wrong check: its column is marked and the user told.
  w.scaleButton(2)->click();
  line_.write(module.engine.steady(1000, true));
  ASSERT_TRUE(uitest::waitFor([&] { return has(w.lastDrawn().overlay, kTextDisturbed); }));
  const auto& disturbed = w.core().disturbedColumns();
  EXPECT_EQ(std::count(disturbed.begin(), disturbed.end(), true), 1);
  uitest::waitFor([] { return false; }, 700);
  EXPECT_TRUE(uitest::saveShot(&w, QStringLiteral("funkora_chart")));
  // 5000 rpm on the 8000 scale lies at row 125; the speeds of the last
  // 0.6 s are left of the labels.
  EXPECT_GT(countInRow(w.chart()->picture(), 125, 760, 800, kCurveColour), 30);

  // Silence for more than a second: the columns drop to 0 and the command
  // goes out again.
  module.running = false;
  ASSERT_TRUE(uitest::waitFor([&] { return !w.core().dataFlag(); }));
  EXPECT_TRUE(newestIs(w.core(), 0.0));
  EXPECT_TRUE(has(w.lastDrawn().overlay, kTextNoData));
  EXPECT_TRUE(uitest::waitFor([&] { return module.takeSent().count(kLogModeCommand) > 0; }));
  EXPECT_TRUE(uitest::waitFor([&] { return w.statusBarText() == kStatusNoReception; }));

  // Released: the port closes, the controls go off, the chart is cleared.
  w.connectButton()->click();
  ASSERT_TRUE(uitest::waitFor([&] { return !w.com().PortIsOpen(); }));
  EXPECT_FALSE(w.pauseButton()->isEnabled());
  EXPECT_FALSE(w.scaleButton(0)->isEnabled());
  EXPECT_TRUE(uitest::waitFor([&] { return w.statusBarText() == kStatusNotConnected; }));
  EXPECT_TRUE(uitest::waitFor([&] {
    return countInRow(w.chart()->picture(), 281, 0, kChartWidth, kChartBackground) == kChartWidth;
  }));
  w.close();
}

TEST_F(HFConnection, ScaleButtonsRedrawAtTheirScale) {
  FunkoraRun run(folder_.path, "-com 93");
  connectWindow(run);
  HF& w = run.window;
  // Rows of the 4000 scale: 1000 rpm at 218 (218.5 rounded half to even);
  // the 1500 scale has none there.
  w.scaleButton(1)->click();
  EXPECT_EQ(w.selectedScale(), 1);
  EXPECT_EQ(w.lastDrawn().scaleIndex, 1);
  EXPECT_GT(countInRow(w.chart()->picture(), 218, 200, 400, kSpeedGridColour), 190);
  w.scaleButton(0)->click();
  EXPECT_EQ(w.selectedScale(), 0);
  EXPECT_EQ(countInRow(w.chart()->picture(), 218, 200, 400, kSpeedGridColour), 0);
  EXPECT_GT(countInRow(w.chart()->picture(), 198, 200, 400, kSpeedGridColour), 190);
  w.close();
}

TEST_F(HFConnection, PauseHoldsTheColumnsAndTheNextColumnShowsTheWholePause) {
  FunkoraRun run(folder_.path, "-com 93 -zyl 6");
  Module module(line_);
  connectWindow(run);
  HF& w = run.window;
  module.running = true;
  ASSERT_TRUE(uitest::waitFor([&] { return newestIs(w.core(), 5000.0); }));

  w.pauseButton()->click();
  module.running = false;
  uitest::waitFor([] { return false; }, 50);
  const int held = w.core().columnIndex();
  EXPECT_TRUE(uitest::waitFor([&] { return w.statusBarText() == kStatusPause; }));
  // 800 ticks give 6250 rpm.
  line_.write(module.engine.packet({800, 1000, 800, 1000}));
  uitest::waitFor([] { return false; }, 150);
  EXPECT_EQ(w.core().columnIndex(), held);

  w.pauseButton()->click();
  ASSERT_TRUE(uitest::waitFor([&] { return w.core().columnIndex() != held; }));
  EXPECT_NEAR(w.core().minima()[static_cast<size_t>(held)], 5000.0, 1e-6);
  EXPECT_NEAR(w.core().maxima()[static_cast<size_t>(held)], 6250.0, 1e-6);
  w.close();
}

TEST_F(HFConnection, PortThatCannotBeOpenedReleasesVerbinden) {
  FunkoraRun run(folder_.path, "-com 93");
  ASSERT_TRUE(run.loaded);
  line_.hangUp();
  // COM93 is gone: the next tick cannot open it.
  run.window.connectButton()->click();
  ASSERT_TRUE(uitest::waitFor([&] { return !run.messages.shown.empty(); }));
  EXPECT_EQ(run.messages.shown.front().first, kTextNoPort);
  EXPECT_EQ(run.messages.shown.front().second, viewers::MessageIcon::kError);
  EXPECT_FALSE(run.window.connectButton()->isChecked());
  EXPECT_FALSE(run.window.pauseButton()->isEnabled());
  uitest::waitFor([] { return false; }, 300);
  EXPECT_EQ(run.messages.shown.size(), 1u);
  run.window.close();
}

}  // namespace
}  // namespace spark
