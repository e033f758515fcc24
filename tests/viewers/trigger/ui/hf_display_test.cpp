#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>

#include "tests/viewers/trigger/ui/hf_fixture.h"
#include "tests/viewers/trigger/wheel_signal.h"
#include "viewers/trigger/trigger_data_file.h"
#include "viewers/trigger/trigger_texts.h"
#include "viewers/trigger/ui/fmodul_info.h"
#include "viewers/trigger/ui/scope_view.h"

namespace trigger {
namespace {

using trigger_ui_test::TaktoraRun;

// A 60-2 wheel of 12 samples per pitch saved as this program's data file.
std::string savedWheel(const std::string& folder) {
  auto wheel = trigger_test::generateWheel({60, 2, 12, 12});
  ModuleValues values;
  values.ModSerienNr = "1234567";
  values.ModVersion = "V 8.3.0";
  values.setModTypNr(8);
  values.ModKwZaehne = 60;
  values.ModKwLuecke = 2;
  viewers_test::RecordingMessages quiet;
  const std::string path = folder + "/wheel.dat";
  saveTriggerData(path, wheel.recording, values, quiet);
  return path;
}

TEST(TaktoraWindow, LoadedWheelInRowsAndRevolutions) {
  uitest::TempFolder root;
  TaktoraRun run(root.path, "");
  ASSERT_TRUE(run.loaded);
  EXPECT_EQ(run.window.windowTitle(), "Taktora V1.2.1");
  uitest::activate(&run.window);
  run.window.loadData(QString::fromStdString(savedWheel(root.path)));
  EXPECT_EQ(run.window.mode(), DisplayMode::kStop);
  EXPECT_EQ(run.window.recording().DataCount, 59000);
  EXPECT_EQ(run.window.analysis().gapCount(), 81);
  EXPECT_EQ(run.window.zuend().values().ModSerienNr, "1234567");
  // Rows of one picture width each; the scroll bar reaches the last one.
  const int width = run.window.scopeView()->width();
  const int height = run.window.scopeView()->height();
  const int rows = static_cast<int>(std::ceil(59000 / (width * 0.5)));
  EXPECT_TRUE(run.window.scrollBar()->isEnabled());
  EXPECT_EQ(run.window.scrollBar()->maximum(), roundEven((rows * 50 - height) / 4.0));
  EXPECT_GT(run.window.lastPicture().traces.size(), 2u);
  uitest::saveShot(&run.window, QStringLiteral("taktora_stop"));

  run.window.modeButton(DisplayMode::kSync)->click();
  EXPECT_EQ(run.window.mode(), DisplayMode::kSync);
  const Picture& sync = run.window.lastPicture();
  // Per row the teeth before its gap and the gap in tooth periods.
  ASSERT_GE(sync.labels.size(), 6u);
  EXPECT_EQ(sync.labels[2].text, "58");
  EXPECT_EQ(sync.labels[3].text, "3,0");
  EXPECT_EQ(sync.labels[4].text, "58");
  uitest::saveShot(&run.window, QStringLiteral("taktora_sync"));

  // Scrolling moves the rows up by four pixels a step.
  run.window.scrollBar()->setValue(10);
  EXPECT_EQ(run.window.lastPicture().labels[2].y, 50 + 5 + 10 - 40);
}

TEST(TaktoraWindow, ZoomButtonsKeepTheirLimits) {
  uitest::TempFolder root;
  TaktoraRun run(root.path, "");
  DisplaySettings& d = run.window.display();
  run.window.zoomButton(3)->click();
  EXPECT_EQ(d.Zeilenhoehe, 60);
  for (int i = 0; i < 8; ++i) run.window.zoomButton(3)->click();
  EXPECT_EQ(d.Zeilenhoehe, 100);
  for (int i = 0; i < 9; ++i) run.window.zoomButton(2)->click();
  EXPECT_EQ(d.Zeilenhoehe, 40);
  run.window.zoomButton(0)->click();
  EXPECT_DOUBLE_EQ(d.SamProPxl, 0.5);
  run.window.zoomButton(1)->click();
  EXPECT_DOUBLE_EQ(d.SamProPxl, 0.45);
  for (int i = 0; i < 30; ++i) run.window.zoomButton(1)->click();
  EXPECT_DOUBLE_EQ(d.SamProPxl, 0.1);
}

TEST(TaktoraWindow, EmptyRecordingHasNoDataAndAnEmptyPicture) {
  uitest::TempFolder root;
  TaktoraRun run(root.path, "");
  run.window.modeButton(DisplayMode::kSync)->click();
  EXPECT_TRUE(run.messages.saw("SignalAnalysieren: Keine Daten!"));
  EXPECT_TRUE(run.window.lastPicture().traces.empty());
  run.window.modeButton(DisplayMode::kStop)->click();
  EXPECT_EQ(run.messages.shown.size(), 2u);
  EXPECT_FALSE(run.window.scrollBar()->isEnabled());
}

TEST(TaktoraWindow, SettingsStoredAtCloseAndReadAtLoad) {
  uitest::TempFolder root;
  {
    TaktoraRun run(root.path, "");
    run.window.zoomButton(3)->click();
    run.window.zoomButton(1)->click();
    auto colours = run.window.displayColours();
    colours[4] = 255;
    run.window.setDisplayColours(colours);
    run.window.close();
  }
  {
    TaktoraRun run(root.path, "");
    EXPECT_EQ(run.window.display().Zeilenhoehe, 60);
    EXPECT_DOUBLE_EQ(run.window.display().SamProPxl, 0.45);
    EXPECT_EQ(run.window.display().LinieA, 255u);
    EXPECT_EQ(run.window.display().LinieB, rgb(0, 128, 0));
    // Values the drawing cannot use keep their defaults.
    run.config.WriteText("Display/Zeilenh\xC3\xB6he", "0");
    run.config.WriteText("Display/SamProPxl", "abc");
    run.config.WriteText("Display/Farben/Marker", "-4");
    run.config.SaveCfg();
  }
  TaktoraRun run(root.path, "");
  EXPECT_EQ(run.window.display().Zeilenhoehe, 50);
  EXPECT_DOUBLE_EQ(run.window.display().SamProPxl, 0.5);
  EXPECT_EQ(run.window.display().Marker, rgb(255, 255, 200));
}

TEST(TaktoraWindow, CommandLineParameters) {
  uitest::TempFolder root;
  {
    TaktoraRun run(root.path, "-h -zebmode -zahn 60 -luecke 2");
    EXPECT_TRUE(run.messages.saw(kTextHelp));
    EXPECT_TRUE(run.window.binImportAction()->isVisible());
    EXPECT_TRUE(run.window.textImportAction()->isVisible());
    EXPECT_TRUE(run.window.windowTitle().endsWith(" - ZEB-Mode"));
  }
  {
    TaktoraRun run(root.path, "");
    EXPECT_FALSE(run.window.binImportAction()->isVisible());
    EXPECT_EQ(run.window.dataFolder(), root.path + "/docs/ZEB/Taktora V1.2.1/Logfiles/");
    EXPECT_TRUE(std::filesystem::is_directory(run.window.dataFolder()));
  }
  const std::string wanted = root.path + "/Meine Daten/Logs";
  {
    TaktoraRun run(root.path, "-pfad \"" + wanted + "\"", false);
    EXPECT_EQ(run.window.dataFolder(), root.path + "/docs/ZEB/Taktora V1.2.1/Logfiles/");
    EXPECT_FALSE(std::filesystem::exists(wanted));
  }
  TaktoraRun run(root.path, "-pfad \"" + wanted + "\"", true);
  EXPECT_EQ(run.window.dataFolder(), wanted + "/");
  EXPECT_TRUE(std::filesystem::is_directory(wanted));
}

TEST(TaktoraWindow, RawImportsAndMissingFiles) {
  uitest::TempFolder root;
  TaktoraRun run(root.path, "-zebmode");
  run.window.importBinFile(QString::fromStdString(root.path + "/fehlt.bin"));
  EXPECT_TRUE(run.messages.saw("TextfileLaden: Datei existiert nicht!"));
  viewers_test::writeFile(root.path + "/a.bin", std::string("\xEE\xA5\x0F\x00\xEE\xFF", 6));
  run.window.importBinFile(QString::fromStdString(root.path + "/a.bin"));
  EXPECT_EQ(run.window.recording().DataCount, 8);
  EXPECT_EQ(run.window.mode(), DisplayMode::kStop);
  run.window.loadData(QString::fromStdString(root.path + "/fehlt.dat"));
  EXPECT_TRUE(run.messages.saw("Datei \"" + root.path + "/fehlt.dat\" nicht gefunden!"));
  EXPECT_EQ(run.window.recording().DataCount, 8);
}

TEST(TaktoraWindow, SaveWritesTheDataFolder) {
  uitest::TempFolder root;
  TaktoraRun run(root.path, "");
  run.window.saveData();
  EXPECT_TRUE(run.messages.saw("gespeichert"));
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(run.window.dataFolder())) {
    EXPECT_EQ(e.path().filename().string().rfind("Taktora Logfile ", 0), 0u);
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(TaktoraWindow, SettingsDialogShowsTheColours) {
  uitest::TempFolder root;
  TaktoraRun run(root.path, "");
  run.window.show();
  bool shown = false;
  uitest::onNextModal([&](QWidget* dialog) {
    shown = true;
    uitest::saveShot(dialog, QStringLiteral("taktora_einstellungen"));
    dialog->close();
  });
  run.window.openSettings();
  EXPECT_TRUE(shown);
  EXPECT_EQ(run.window.display().LinieA, rgb(0, 0, 255));
}

TEST(TaktoraWindow, ModuleInformationRows) {
  ModuleValues v;
  v.setModTypNr(3);
  v.ModVersion = "V 1.5.2";
  v.ModSerienNr = "1234567";
  v.ModZylinder = 4;
  v.ModKwZaehne = 60;
  FModulInfo info(v, nullptr);
  QTreeWidget* list = info.list();
  ASSERT_EQ(list->topLevelItemCount(), 10);
  EXPECT_EQ(list->topLevelItem(0)->text(0), "Modultyp");
  EXPECT_EQ(list->topLevelItem(2)->text(1), "1234567");
  EXPECT_EQ(list->topLevelItem(6)->text(0), "KwZ\xC3\xA4hne");
  EXPECT_EQ(list->topLevelItem(6)->text(1), "60");
  EXPECT_EQ(list->topLevelItem(9)->data(0, Qt::UserRole).toString(), "K9");
  info.show();
  uitest::saveShot(&info, QStringLiteral("taktora_modulinfo"));
}

}  // namespace
}  // namespace trigger
