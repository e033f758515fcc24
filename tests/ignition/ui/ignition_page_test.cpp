// The ignition page against the in-process bus: the operations behind its
// buttons, the curve lists and their buttons, the limiter edit, and the
// sub-dialogs under their keys.
#include "modules/ignition/ui/ignition_page.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "modules/ignition/capabilities.h"
#include "modules/ignition/ui/assistant_summary_window.h"
#include "modules/ignition/ui/basic_settings_dialog.h"
#include "modules/ignition/ui/channel_table_dialog.h"
#include "modules/ignition/ui/vehicle_info_dialog.h"
#include "modules/ignition/ui/curve_edit_dialog.h"
#include "modules/ignition/ui/curve_graph_window.h"
#include "modules/ignition/ui/extended_settings_dialog.h"
#include "shell/file_dialog.h"
#include "shell/ui/tab_host_window.h"
#include "tests/ignition/ui/ignition_ui_support.h"

namespace ignition {
namespace {

using P = IgnitionPage;
using uitest::control;

QString label(const igntest::PageBench& b, int32_t id) {
  return control<QLabel>(b.pageWidget(), id)->text();
}

// Closes a dialog that a click must not open, so the test fails instead of
// hanging; a click that opens one returns only after that.
struct NoDialogExpected {
  NoDialogExpected() {
    QTimer::singleShot(50, [this] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        opened = true;
        static_cast<QDialog*>(modal)->reject();
      }
    });
  }
  ~NoDialogExpected() { QTest::qWait(80); }
  bool opened = false;
};

const std::vector<QString> kReadCurve1 = {"00800 rpm   7", "02500 rpm  22", "07000 rpm  33"};
const std::vector<QString> kReadCurve2 = {"01000 rpm  -3", "05000 rpm  12"};

TEST(IgnitionPage, ReadFillsThePage) {
  igntest::PageBench b;
  ASSERT_EQ(b.window->tabHost().visiblePage(), b.page);
  b.click(P::kReadButton);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8052});
  EXPECT_EQ(b.prompts.waitOpened, 1);
  EXPECT_EQ(b.prompts.waitClosed, b.prompts.waitOpened);
  EXPECT_EQ(label(b, P::kVersionStatic), QStringLiteral("V 8.3"));
  EXPECT_EQ(label(b, P::kSerialStatic), QStringLiteral("0123456"));
  EXPECT_EQ(label(b, P::kTypeStatic), QString::fromStdString(hardwareTypeName(0x0800)));
  EXPECT_EQ(label(b, P::kTemperatureStatic), QStringLiteral(" "));
  EXPECT_EQ(label(b, P::kMaxTemperatureStatic), QStringLiteral("Max:  32"));
  EXPECT_EQ(uitest::text(b.pageWidget(), P::kLimiterEdit), QStringLiteral("8500"));
  EXPECT_EQ(b.entries(P::kCurve1List), kReadCurve1);
  EXPECT_EQ(b.entries(P::kCurve2List), kReadCurve2);
  EXPECT_EQ(b.link->portNumber() & 128, 0) << "the port is free again";
}

TEST(IgnitionPage, WriteWantsAReadFirstAndTakesTheLimiterEdit) {
  igntest::PageBench b;
  b.click(P::kWriteButton);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8022});
  EXPECT_EQ(b.bus->framesReceived(), 0);

  b.click(P::kReadButton);
  uitest::setText(b.pageWidget(), P::kLimiterEdit, QStringLiteral("7000"));
  b.prompts.messages.clear();
  b.click(P::kWriteButton);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8050});
  EXPECT_EQ(b.bus->ignition()->memory[0x05], 140);
  EXPECT_EQ(b.page->state().limiterEdit, 7000);
}

TEST(IgnitionPage, LimiterEditIsCheckedAgainstTheFirmware) {
  igntest::PageBench b;
  auto* limiter = control<QLineEdit>(b.pageWidget(), P::kLimiterEdit);
  auto* list = control<QListWidget>(b.pageWidget(), P::kCurve1List);
  uitest::typeAndLeave(limiter, QStringLiteral("12550"), list);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8045});
  EXPECT_EQ(QApplication::focusWidget(), limiter);
  uitest::typeAndLeave(limiter, QStringLiteral("12500"), list);
  EXPECT_EQ(b.prompts.messages.size(), 1u);

  b.page->state().record.firmwareVersion = 0x503;
  uitest::typeAndLeave(limiter, QStringLiteral("10000"), list);
  uitest::typeAndLeave(limiter, QStringLiteral("9950"), list);
  uitest::typeAndLeave(limiter, QStringLiteral("0"), list);
  EXPECT_EQ(b.prompts.messages.size(), 2u);

  // A value nobody let through is not written.
  b.page->state().recordValid = true;
  limiter->setText(QStringLiteral("-50"));
  b.click(P::kWriteButton);
  EXPECT_EQ(b.prompts.messages, (std::vector<int32_t>{8045, 8045, 8045}));
  EXPECT_EQ(b.bus->framesReceived(), 0);
}

TEST(IgnitionPage, SaveAndLoadThroughTheFileDialog) {
  uitest::TempFolder files;
  const std::string path = files.path + "/Motor.Ignar";
  std::vector<std::string> filters;
  shell::FileDialog::setChooser(
      [&](shell::FileDialog::Kind, const shell::FileDialog& dialog, std::string& chosen) {
        filters.push_back(dialog.filters().front().first);
        chosen = path;
        return true;
      });
  {
    igntest::PageBench b;
    b.click(P::kReadButton);
    b.prompts.messages.clear();
    b.click(P::kSaveButton);
    EXPECT_TRUE(b.prompts.messages.empty());
    EXPECT_EQ(b.settings->get("PfadZuendung", ""), files.path + "/");
  }
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_NE(content.str().find("[Kennlinie]\r\n00800 rpm   7\r\n"), std::string::npos);

  igntest::PageBench fresh;
  EXPECT_EQ(fresh.entries(P::kCurve1List),
            (std::vector<QString>{"00800 rpm   5", "03000 rpm  30"}));
  fresh.click(P::kLoadButton);
  EXPECT_TRUE(fresh.prompts.messages.empty());
  EXPECT_EQ(fresh.entries(P::kCurve1List), kReadCurve1);
  EXPECT_EQ(fresh.entries(P::kCurve2List), kReadCurve2);
  EXPECT_EQ(uitest::text(fresh.pageWidget(), P::kLimiterEdit), QStringLiteral("8500"));
  EXPECT_TRUE(fresh.page->state().recordValid);
  EXPECT_EQ(filters, (std::vector<std::string>(2, "Ignar Kennliniendatei (*.Ignar)")));

  // Cancelling the dialog changes nothing.
  shell::FileDialog::setChooser(
      [](shell::FileDialog::Kind, const shell::FileDialog&, std::string&) { return false; });
  fresh.page->state().curve1.clear();
  fresh.page->fillWidgets();
  fresh.click(P::kLoadButton);
  EXPECT_TRUE(fresh.entries(P::kCurve1List).empty());
  EXPECT_TRUE(fresh.prompts.messages.empty());
}

TEST(IgnitionPage, TheFocusedListIsTheOneTheButtonsEdit) {
  igntest::PageBench b;
  auto* list1 = control<QListWidget>(b.pageWidget(), P::kCurve1List);
  auto* list2 = control<QListWidget>(b.pageWidget(), P::kCurve2List);
  EXPECT_EQ(b.page->activeList(), P::kCurve1List);
  list1->setFocus(Qt::MouseFocusReason);
  list1->setCurrentRow(1);
  list2->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(b.page->activeList(), P::kCurve2List);
  EXPECT_TRUE(list1->selectedItems().isEmpty());

  // Nothing selected in the active list: the buttons do nothing.
  b.click(P::kDeleteButton);
  EXPECT_EQ(b.entries(P::kCurve1List).size(), 2u);
  EXPECT_EQ(b.entries(P::kCurve2List).size(), 2u);

  list2->setCurrentRow(1);
  b.click(P::kDeleteButton);
  EXPECT_EQ(b.entries(P::kCurve2List), std::vector<QString>{"00800 rpm   0"});
  EXPECT_EQ(list2->currentRow(), 0);
  EXPECT_EQ(b.page->state().curve2.size(), 1);
  EXPECT_EQ(b.entries(P::kCurve1List).size(), 2u);
}

TEST(IgnitionPage, EditorsOpenUnderTheirKeysAndChangeTheActiveList) {
  igntest::PageBench b;
  auto* list2 = control<QListWidget>(b.pageWidget(), P::kCurve2List);
  list2->setFocus(Qt::MouseFocusReason);
  list2->setCurrentRow(1);
  int32_t key = 0;
  QString shownRpm;
  uitest::onNextModal([&](QWidget* editor) {
    key = b.window->tabHost().dialogKey();
    shownRpm = uitest::text(editor, CurveEditDialog::kRpmField);
    uitest::setText(editor, CurveEditDialog::kRpmField, QStringLiteral("3510"));
    uitest::setText(editor, CurveEditDialog::kAngleField, QStringLiteral("4"));
    uitest::click(editor, IgnitionDialog::kCommandOk);
  });
  // A double click edits like "Bearbeiten".
  emit list2->itemDoubleClicked(list2->item(1));
  EXPECT_EQ(key, CurveEditDialog::kKey);
  EXPECT_EQ(shownRpm, QStringLiteral("3000"));
  EXPECT_EQ(b.window->tabHost().dialogKey(), 0);
  EXPECT_EQ(b.entries(P::kCurve2List), (std::vector<QString>{"00800 rpm   0", "03500 rpm   4"}));
}

TEST(IgnitionPage, AFullCurveRefusesInsertBeforeTheEditorOpens) {
  igntest::PageBench b;
  std::vector<std::pair<int32_t, int32_t>> points;
  for (int i = 0; i < kMaxCurveEntries; ++i) points.push_back({1000 + 500 * i, i});
  b.page->state().curve1.setPoints(points);
  b.page->fillWidgets();
  {
    NoDialogExpected guard;
    b.click(P::kInsertButton);
    EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{8025});
    EXPECT_FALSE(guard.opened);
  }
  EXPECT_EQ(b.entries(P::kCurve1List).size(), static_cast<size_t>(kMaxCurveEntries));
}

TEST(IgnitionPage, SettingsDialogsSaveIntoTheRecordAndDirectModeFlattensTheCurves) {
  igntest::PageBench b;
  std::vector<int32_t> keys;
  uitest::onNextModal([&](QWidget* basic) {
    keys.push_back(b.window->tabHost().dialogKey());
    uitest::setText(basic, BasicSettingsDialog::kCylinders, QStringLiteral("6"));
    uitest::onNestedModal(basic, [&](QWidget* extended) {
      keys.push_back(b.window->tabHost().dialogKey());
      control<QCheckBox>(extended, ExtendedSettingsDialog::kDirectMode)->setChecked(true);
      uitest::click(extended, IgnitionDialog::kCommandOk);
    });
    uitest::click(basic, BasicSettingsDialog::kExtended);
    keys.push_back(b.window->tabHost().dialogKey());
    uitest::click(basic, IgnitionDialog::kCommandOk);
  });
  b.click(P::kSettingsButton);
  EXPECT_EQ(keys, (std::vector<int32_t>{150, 151, 150}));
  EXPECT_EQ(b.page->state().record.Zylinder, 6);
  EXPECT_TRUE(b.page->state().record.FlagsC & bits::kFlagsCDirectMode);
  EXPECT_EQ(b.page->state().record.directModeActive, 1);
  const std::vector<QString> flat = {"00800 rpm   0", "03000 rpm   0"};
  EXPECT_EQ(b.entries(P::kCurve1List), flat);
  EXPECT_EQ(b.entries(P::kCurve2List), flat);
  EXPECT_FALSE(control<QListWidget>(b.pageWidget(), P::kCurve1List)->isEnabled());
  EXPECT_TRUE(b.prompts.messages.empty());
}

TEST(IgnitionPage, GraphShowsTheLimiterEdit) {
  igntest::PageBench b;
  uitest::setText(b.pageWidget(), P::kLimiterEdit, QStringLiteral("6000"));
  int32_t key = 0;
  QString title;
  uitest::onNextModal([&](QWidget* graph) {
    key = b.window->tabHost().dialogKey();
    title = graph->windowTitle();
    static_cast<QDialog*>(graph)->reject();
  });
  b.click(P::kGraphButton);
  EXPECT_EQ(key, CurveGraphWindow::kKey);
  EXPECT_EQ(title, QStringLiteral("Zündkurve"));
  EXPECT_EQ(b.page->state().record.limiterRpm, 6000);
}

TEST(IgnitionPage, CornerButtonReadsTheMemoryImage) {
  igntest::PageBench b;
  b.click(P::kMemoryImageButton);
  EXPECT_TRUE(b.page->state().dumpPresent);
  EXPECT_EQ(b.page->state().record.memoryImage[0x05], 170);
  EXPECT_EQ(b.page->state().record.memoryImage[0x09], 7);
  EXPECT_TRUE(b.prompts.messages.empty());
}

TEST(IgnitionPage, ButtonsOfLaterFeaturesAreAbsent) {
  igntest::PageBench b;
  for (int32_t id : {3018, 3025}) EXPECT_EQ(shell::findControl(b.pageWidget(), id), nullptr);
  EXPECT_EQ(control<QAbstractButton>(b.pageWidget(), P::kReadButton)->toolTip(),
            QStringLiteral("Modul auslesen"));
  EXPECT_EQ(control<QLineEdit>(b.pageWidget(), P::kLimiterEdit)->toolTip(),
            QStringLiteral("Drehzahlgrenze für Limiter.\n0 = deaktiviert"));
  QLineEdit* limiter = control<QLineEdit>(b.pageWidget(), P::kLimiterEdit);
  QString six = QStringLiteral("123456");
  int pos = 0;
  ASSERT_NE(limiter->validator(), nullptr);
  EXPECT_EQ(limiter->validator()->validate(six, pos), QValidator::Invalid)
      << "at most 5 typed characters";
}

}  // namespace
}  // namespace ignition

namespace ignition {
namespace {

using uitest::control;

TEST(IgnitionPage, AssistantFromTheSettingsDialogEndsInItsSummaryAndCanWrite) {
  igntest::PageBench b;
  // Start: yes; then 6 cylinders, 4-stroke, soft limiter, no crankshaft
  // wheel, not direct mode, converted, slotted wheel, no resting
  // distribution, no external units, no standard curves.
  b.prompts.yesNoAnswers = {true, true, false, false, false, true, true, false, false, false};
  b.prompts.textAnswers = {std::string("6"), std::nullopt, std::nullopt};
  int32_t summaryKey = 0;
  QString summaryText;
  bool wrote = false;
  uitest::onNextModal([&](QWidget* settings) {
    uitest::onNestedModal(settings, [&](QWidget* summary) {
      summaryKey = b.window->tabHost().dialogKey();
      summaryText = control<QLabel>(summary, AssistantSummaryWindow::kSummary)->text();
      uitest::saveShot(summary, QStringLiteral("assistant-summary"));
      const size_t framesBefore = b.bus->transcript().size();
      uitest::click(summary, AssistantSummaryWindow::kWriteButton);
      wrote = b.bus->transcript().size() > framesBefore;
      uitest::click(summary, IgnitionDialog::kCommandOk);
    });
    uitest::click(settings, BasicSettingsDialog::kAssistant);
    // The dialog shows what the assistant set.
    EXPECT_EQ(uitest::text(settings, BasicSettingsDialog::kCylinders), QStringLiteral("6"));
    uitest::click(settings, IgnitionDialog::kCommandOk);
  });
  b.click(IgnitionPage::kSettingsButton);
  EXPECT_EQ(summaryKey, AssistantSummaryWindow::kKey);
  EXPECT_TRUE(summaryText.contains(QStringLiteral("Assistent erfolgreich beendet.")));
  EXPECT_TRUE(wrote) << "Schreiben wrote the module";
  EXPECT_EQ(b.page->state().record.Versatz, 40);
  EXPECT_EQ(b.page->state().record.Zylinder, 6);
}

TEST(IgnitionPage, VehicleInformationIsEditedIntoTheRecord) {
  igntest::PageBench b;
  b.page->state().record.InfoHersteller = "Zeb";
  b.page->state().record.InfoKommentar = "Zeile 1\nZeile 2";
  for (const bool ok : {false, true}) {
    int32_t key = 0;
    QString shownMaker, shownComment;
    uitest::onNextModal([&](QWidget* info) {
      key = b.window->tabHost().dialogKey();
      shownMaker = uitest::text(info, VehicleInfoDialog::kMaker);
      auto* comment = control<QPlainTextEdit>(info, VehicleInfoDialog::kComment);
      shownComment = comment->toPlainText();
      uitest::setText(info, VehicleInfoDialog::kMaker, QStringLiteral("Roadster-Werke"));
      uitest::setText(info, VehicleInfoDialog::kModel, QStringLiteral("R 1000"));
      comment->setPlainText(QStringLiteral("Auslieferung 2019\nService 2023"));
      if (ok) uitest::saveShot(info, QStringLiteral("vehicle-info"));
      uitest::click(info, ok ? IgnitionDialog::kCommandOk : IgnitionDialog::kCommandCancel);
    });
    b.click(IgnitionPage::kVehicleInfoButton);
    EXPECT_EQ(key, VehicleInfoDialog::kKey);
    EXPECT_EQ(shownMaker, QStringLiteral("Zeb")) << "opened from the record";
    EXPECT_EQ(shownComment, QStringLiteral("Zeile 1\nZeile 2"));
    const IgnitionRecord& r = b.page->state().record;
    EXPECT_EQ(r.InfoHersteller, ok ? "Roadster-Werke" : "Zeb");
    EXPECT_EQ(r.InfoTyp, ok ? "R 1000" : "");
    EXPECT_EQ(r.InfoKommentar, ok ? "Auslieferung 2019\nService 2023" : "Zeile 1\nZeile 2");
  }
}

TEST(IgnitionPage, ChannelTableFromTheSettingsDialogAfterItWasSaved) {
  igntest::PageBench b;
  b.page->state().record.capability.channels = 4;
  std::vector<int32_t> keys;
  bool grid = false;
  uitest::onNextModal([&](QWidget* settings) {
    // The cylinders typed here count: the dialog is saved before the table opens.
    uitest::setText(settings, BasicSettingsDialog::kCylinders, QStringLiteral("3"));
    uitest::onNestedModal(settings, [&](QWidget* channels) {
      keys.push_back(b.window->tabHost().dialogKey());
      grid = control<QCheckBox>(channels, ChannelTableDialog::boxId(3, 3))->isEnabled() &&
             !control<QCheckBox>(channels, ChannelTableDialog::boxId(4, 4))->isEnabled() &&
             !control<QCheckBox>(channels, ChannelTableDialog::boxId(5, 1))->isEnabled();
      control<QCheckBox>(channels, ChannelTableDialog::boxId(2, 1))->setChecked(true);
      uitest::saveShot(channels, QStringLiteral("dialog-162-kanaele"));
      uitest::click(channels, IgnitionDialog::kCommandOk);
    });
    uitest::click(settings, BasicSettingsDialog::kChannels);
    keys.push_back(b.window->tabHost().dialogKey());
    uitest::click(settings, IgnitionDialog::kCommandCancel);
  });
  b.click(IgnitionPage::kSettingsButton);
  EXPECT_EQ(keys, (std::vector<int32_t>{162, 150}));
  EXPECT_TRUE(grid);
  EXPECT_EQ(b.page->state().record.Zylinder, 3);
  EXPECT_EQ(b.page->state().record.KanalTabelle[0], 0x03);
  EXPECT_EQ(b.page->state().record.KanalTabelle[3], 0x00) << "position 4 is beyond 3 cylinders";
}

}  // namespace
}  // namespace ignition
