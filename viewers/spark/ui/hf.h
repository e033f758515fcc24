#pragma once

#include <QMainWindow>
#include <QTimer>
#include <array>

#include "viewers/common/product.h"
#include "viewers/spark/spark_core.h"
#include "viewers/spark/ui/chart_painter.h"
#include "viewers/spark/ui/viewer_port_adapter.h"

class QLabel;
class QPushButton;
class QToolButton;

namespace viewers {
class CCommandLine;
class CConfig;
class ViewerMessages;
class ucCOM;
}  // namespace viewers

namespace spark {

class ChartView;

inline constexpr int kScaleButtonCount = 5;

// Funkora's main window: connects to the ignition module, switches it into
// log mode and draws the engine speed as a scrolling chart of 10 ms columns.
class HF : public QMainWindow {
  Q_OBJECT

 public:
  HF(viewers::CConfig& config, viewers::CCommandLine& commandLine,
     viewers::ViewerMessages& messages, viewers::ProductInfo product, QWidget* parent = nullptr);
  ~HF() override;

  // The load handler: settings, port, cylinder count, stored form, command
  // line; then the timers run. False when the program has to end.
  bool load();

  void NeuZeichnen();
  void SchalteAufLogmode();
  void GestörtTimerStarten();

  // Bytes from the port, as ucCOM hands them over.
  void receive(const QByteArray& bytes);
  void comEvent(int code);

  void openSettings();
  void openInfo();

  // Read-only views for whoever watches the window.
  const SparkCore& core() const { return core_; }
  viewers::ucCOM& com() const { return *com_; }
  QToolButton* connectButton() const { return connect_; }
  QPushButton* pauseButton() const { return pause_; }
  QPushButton* scaleButton(int index) const { return scales_.at(static_cast<size_t>(index)); }
  int selectedScale() const;
  ChartView* chart() const { return chart_; }
  const DrawnChart& lastDrawn() const { return lastDrawn_; }
  QString statusBarText() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls();
  void buildMenus();
  bool connectDown() const;
  bool pauseDown() const;
  void enableRunControls(bool on);
  void connectionTick();
  void columnLoopTick();
  void columnPassTick();
  void endColumnLoop();
  void statusTick();
  void store();

  viewers::CConfig& config_;
  viewers::CCommandLine& commandLine_;
  viewers::ViewerMessages& messages_;
  viewers::ProductInfo product_;
  viewers::ucCOM* com_;
  ComViewerPort port_;
  QtEventPump pump_;
  SparkCore core_;
  QToolButton* connect_ = nullptr;
  QPushButton* pause_ = nullptr;
  std::array<QPushButton*, kScaleButtonCount> scales_{};
  ChartView* chart_ = nullptr;
  QLabel* statusPanel_ = nullptr;
  QTimer abfrageTimer_;
  QTimer timer1_;
  QTimer columnPassTimer_;
  QTimer statusbarTimer_;
  DrawnChart lastDrawn_;
  bool stored_ = false;
};

}  // namespace spark
