#pragma once

#include <QMainWindow>
#include <QTimer>
#include <array>

#include "viewers/common/product.h"
#include "viewers/common/ui/feinstell.h"
#include "viewers/common/viewer_folders.h"
#include "viewers/spark/ui/viewer_port_adapter.h"
#include "viewers/trigger/display_settings.h"
#include "viewers/trigger/picture.h"
#include "viewers/trigger/recording.h"
#include "viewers/trigger/trigger_analysis.h"
#include "viewers/trigger/trigger_messages.h"
#include "viewers/trigger/uc_zuend.h"
#include "viewers/trigger/ui/trigger_pump.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace viewers {
class CCommandLine;
class CConfig;
class CErrLog;
class ucCOM;
}  // namespace viewers

namespace trigger {

class ScopeView;

// Taktora's main window: connects to the ignition module, records its two
// trigger inputs live and lays the recording out in rows ("Stop") or one
// crank revolution per row aligned at the gaps ("Sync").
class HF : public QMainWindow, public viewers::ColourHost {
  Q_OBJECT

 public:
  HF(viewers::CConfig& config, viewers::CCommandLine& commandLine, TriggerMessages& messages,
     viewers::ProductInfo product, viewers::ViewerFolders folders,
     viewers::CErrLog* errLog = nullptr, QWidget* parent = nullptr);
  ~HF() override;

  // The load handler. False when the program has to end.
  bool load();

  // Menu actions without their file dialogs, so scripts and tests reach them.
  void saveData();
  void loadData(const QString& path);
  void importBinFile(const QString& path);
  void importTextFile(const QString& path);
  void openModulInfo();
  void openSettings();
  void openInfo();

  void selectMode(DisplayMode mode);
  DisplayMode mode() const;
  void redraw();
  void recomputeScrollRange();
  void zoom(int button);  // 0 B-, 1 B+, 2 H-, 3 H+

  // Bytes from the port, as ucCOM hands them over.
  void receive(const QByteArray& bytes);

  // viewers::ColourHost
  viewers::DisplayColours displayColours() const override { return display_.colours(); }
  void setDisplayColours(const viewers::DisplayColours& colours) override;
  void redrawNow() override;

  // Views for whoever watches the window.
  Recording& recording() { return recording_; }
  const Analysis& analysis() const { return analysis_; }
  ucZuend& zuend() { return zuend_; }
  DisplaySettings& display() { return display_; }
  const Picture& lastPicture() const { return picture_; }
  const std::string& dataFolder() const { return dataFolder_; }
  viewers::ucCOM& com() const { return *com_; }
  QToolButton* connectButton() const { return connect_; }
  QPushButton* modeButton(DisplayMode mode) const { return modes_[static_cast<size_t>(mode)]; }
  QToolButton* zoomButton(int i) const { return zooms_[static_cast<size_t>(i)]; }
  QScrollBar* scrollBar() const { return scroll_; }
  ScopeView* scopeView() const { return view_; }
  QString panelText(int panel) const;
  QAction* binImportAction() const { return binImport_; }
  QAction* textImportAction() const { return textImport_; }
  QMenu* extrasMenu() const { return extras_; }
  QMenu* helpMenu() const { return help_; }
  int liveFramesDrawn() const { return liveFramesDrawn_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls();
  void buildMenus();
  void readStoredSettings();
  void storeSettings();
  void applyCommandLine();
  void connectToggled(bool down);
  void modeToggled(DisplayMode mode, bool on);
  void stopHandler();
  void syncHandler();
  void liveHandler();
  void liveTick();
  void statusTick();
  void runAnalysis();
  void goOnWithStop();
  int scrollOffset() const;
  void showPicture();
  QString askFile(int kind);

  viewers::CConfig& config_;
  viewers::CCommandLine& commandLine_;
  TriggerMessages& messages_;
  viewers::ProductInfo product_;
  viewers::ViewerFolders folders_;
  viewers::ucCOM* com_;
  spark::ComViewerPort port_;
  TriggerPump pump_;
  Recording recording_;
  Analysis analysis_;
  ucZuend zuend_;
  DisplaySettings display_;
  Picture picture_;
  std::string dataFolder_;
  bool closing_ = false;
  int runningHandlers_ = 0;
  bool stored_ = false;

  QToolButton* connect_ = nullptr;
  std::array<QPushButton*, 3> modes_{};
  std::array<QToolButton*, 4> zooms_{};
  ScopeView* view_ = nullptr;
  QScrollBar* scroll_ = nullptr;
  std::array<QLabel*, 4> panels_{};
  QMenu* extras_ = nullptr;
  QMenu* help_ = nullptr;
  QAction* binImport_ = nullptr;
  QAction* textImport_ = nullptr;
  QAction* importSeparator_ = nullptr;
  QTimer statusTimer_;
  QTimer formCloseTimer_;
  QTimer monitorTimer_;
  QTimer liveTimer_;
  int32_t liveDrawnAt_ = -1;
  int liveFramesDrawn_ = 0;
};

}  // namespace trigger
