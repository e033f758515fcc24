// The tools dialogs (186, 185, 189) offscreen, on the in-process bus.
#include "modules/ignition/ui/ignition_tools_dialogs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <memory>

#include "modules/ignition/ui/basic_settings_dialog.h"
#include "modules/ignition/ui/extended_settings_dialog.h"
#include "modules/ignition/ui/ignition_page.h"
#include "modules/ignition/ui/pin_change_dialog.h"
#include "modules/ignition/ui/pin_entry_dialog.h"
#include "shell/ui/tab_host_window.h"
#include "sim/bus.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"
#include "tests/ignition/ui/ignition_ui_support.h"

namespace ignition {
namespace {

using uitest::control;

// The ignition's special functions the dialogs sent: (code, value).
struct Line {
  Line() : bus(scenario()), link(std::make_unique<sim::SimDevice>(bus, clock), clock) {
    link.setPortNumber(2);
  }
  static sim::Scenario scenario() {
    sim::Scenario s;
    s.ignition.firmwareVersion = 0x0803;
    return s;
  }
  std::vector<std::pair<int, int>> specials() const {
    std::vector<std::pair<int, int>> out;
    for (const sim::TranscriptEntry& e : bus.transcript()) {
      if (e.kind == sim::TranscriptEntry::Kind::kFrame && e.pc.size() == 4 && e.pc[0] == 0xEE)
        out.push_back({e.pc[1], e.pc[2]});
    }
    return out;
  }
  sim::Bus bus;
  sim::VirtualClock clock;
  buslink::ModuleLink link;
};

TEST(ToolsDialogs, RpmMeterSendsTheFieldsSpeed) {
  igntest::DialogBench b;
  Line line;
  b.state.record.Zylinder = 4;
  b.state.record.Takte = 4;
  line.link.selectModule(0xE0);
  auto meter = std::make_unique<RpmMeterDialog>(b.stack, line.link, b.state.record, nullptr);
  EXPECT_EQ(uitest::text(meter.get(), RpmMeterDialog::kRpmField), QStringLiteral("1000"));
  meter->tick();
  uitest::click(meter.get(), RpmMeterDialog::kUp);
  uitest::click(meter.get(), RpmMeterDialog::kDown);
  uitest::click(meter.get(), RpmMeterDialog::kDown);  // stays at 1000
  EXPECT_EQ(line.specials(), (std::vector<std::pair<int, int>>{
                                 {0x21, 240}, {0x21, 120}, {0x21, 240}, {0x21, 240}}));
  uitest::setText(meter.get(), RpmMeterDialog::kRpmField, QStringLiteral("9000"));
  uitest::click(meter.get(), RpmMeterDialog::kUp);  // stays at 9000
  EXPECT_EQ(line.specials().back(), (std::pair<int, int>{0x21, 26}));
  uitest::saveShot(meter.get(), QStringLiteral("dialog-185-drehzahlmesser"));
  meter.reset();
  EXPECT_EQ(line.link.openPort(), 0) << "closing gives the port free";
}

TEST(ToolsDialogs, ControlSendsAtOnceAndShowsTheShift) {
  igntest::DialogBench b;
  Line line;
  line.link.selectModule(0xE0);
  auto dialog = std::make_unique<ControlDialog>(b.stack, line.link, nullptr);
  EXPECT_TRUE(control<QRadioButton>(dialog.get(), ControlDialog::kCurve1)->isChecked());
  control<QRadioButton>(dialog.get(), ControlDialog::kCurve2)->click();
  control<QCheckBox>(dialog.get(), ControlDialog::kSecondSpark)->click();
  for (int i = 0; i < 3; ++i) uitest::click(dialog.get(), ControlDialog::kLater);
  EXPECT_EQ(uitest::text(dialog.get(), ControlDialog::kShiftField), QStringLiteral("-3"));
  EXPECT_EQ(line.specials(),
            (std::vector<std::pair<int, int>>{
                {0x14, 2}, {0x15, 1}, {0x13, 0xFF}, {0x13, 0xFE}, {0x13, 0xFD}}));
  dialog->tick();
  dialog->tick();
  dialog->tick();
  EXPECT_EQ(line.specials().size(), 8u);
  EXPECT_EQ(line.specials().back(), (std::pair<int, int>{0x13, 0xFD}));
  uitest::saveShot(dialog.get(), QStringLiteral("dialog-189-steuerung"));
}

TEST(ToolsDialogs, FunkoraStartsFromTheSettingsDialogsWithTheEnginesCylinders) {
  igntest::PageBench b;
  b.click(IgnitionPage::kReadButton);  // a read record
  std::vector<ViewerCall> started;
  b.page->setProgramStarter([&](const ViewerCall& call, std::string&) {
    started.push_back(call);
    return true;
  });
  std::vector<int32_t> keys;
  uitest::onNextModal([&](QWidget* settings) {
    uitest::onNestedModal(settings, [&](QWidget* extended) {
      uitest::onNestedModal(extended, [&](QWidget* tools) {
        keys.push_back(b.window->tabHost().dialogKey());
        uitest::saveShot(tools, QStringLiteral("dialog-186-tools"));
        uitest::click(tools, ToolsDialog::kFunkora);
        uitest::click(tools, IgnitionDialog::kCommandOk);
      });
      uitest::click(extended, ExtendedSettingsDialog::kToolsButton);
      uitest::click(extended, IgnitionDialog::kCommandCancel);
    });
    uitest::click(settings, BasicSettingsDialog::kExtended);
    uitest::click(settings, IgnitionDialog::kCommandCancel);
  });
  b.click(IgnitionPage::kSettingsButton);
  EXPECT_EQ(keys, std::vector<int32_t>{ToolsDialog::kKey});
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].program, "funkora");
  const IgnitionRecord& r = b.page->state().record;
  const int cylinders = r.Takte == 2 ? r.Zylinder * 2 : r.Zylinder;
  EXPECT_EQ(started[0].arguments,
            (std::vector<std::string>{"-com", std::to_string(b.link->portNumber() % 128), "-zyl",
                                      std::to_string(cylinders)}));
}

TEST(ToolsDialogs, PinChangeFromTheExtendedSettings) {
  igntest::PageBench b;
  b.bus->ignition()->memory[0x87] = 0x00;
  std::vector<int32_t> keys;
  uitest::onNextModal([&](QWidget* settings) {
    uitest::onNestedModal(settings, [&](QWidget* extended) {
      uitest::onNestedModal(extended, [&](QWidget* pin) {
        keys.push_back(b.window->tabHost().dialogKey());
        uitest::setText(pin, PinChangeDialog::kNewPin, QStringLiteral("BEEF"));
        control<QCheckBox>(pin, PinChangeDialog::kLockIgnition)->setChecked(true);
        uitest::saveShot(pin, QStringLiteral("dialog-160-pin"));
        uitest::click(pin, IgnitionDialog::kCommandOk);
      });
      uitest::click(extended, ExtendedSettingsDialog::kPinButton);
      uitest::click(extended, IgnitionDialog::kCommandCancel);
    });
    uitest::click(settings, BasicSettingsDialog::kExtended);
    uitest::click(settings, IgnitionDialog::kCommandCancel);
  });
  b.click(IgnitionPage::kSettingsButton);
  EXPECT_EQ(keys, std::vector<int32_t>{PinChangeDialog::kKey});
  EXPECT_EQ(b.bus->ignition()->pin, 0xBEEF);
  EXPECT_EQ(b.bus->ignition()->memory[0x87] & 0x10, 0x10);
  EXPECT_TRUE(b.prompts.messages.empty());
}

TEST(ToolsDialogs, PinEntryAsksAgainWithTheTriesLeft) {
  sim::Scenario scenario = igntest::readableScenario();
  scenario.ignition.pin = 0x1A2B;
  igntest::PageBench b(scenario);
  int32_t key = 0;
  QString triesText, triesTitle;
  uitest::onNextModal([&](QWidget* entry) {
    key = b.window->tabHost().dialogKey();
    EXPECT_EQ(control<QLineEdit>(entry, PinEntryDialog::kPin)->echoMode(), QLineEdit::Password);
    uitest::setText(entry, PinEntryDialog::kPin, QStringLiteral("9999"));
    uitest::onNestedModal(entry, [&](QWidget* box) {
      triesTitle = box->windowTitle();
      triesText = static_cast<QMessageBox*>(box)->text();
      static_cast<QMessageBox*>(box)->accept();
    });
    uitest::saveShot(entry, QStringLiteral("dialog-161-pin-eingeben"));
    uitest::click(entry, IgnitionDialog::kCommandOk);
    uitest::setText(entry, PinEntryDialog::kPin, QStringLiteral("1A2B"));
    uitest::click(entry, IgnitionDialog::kCommandOk);
  });
  b.click(IgnitionPage::kReadButton);
  EXPECT_EQ(key, PinEntryDialog::kKey);
  EXPECT_EQ(triesTitle, QStringLiteral("PIN-Fehler"));
  EXPECT_EQ(triesText, QStringLiteral("noch 4 Versuche!"));
  EXPECT_EQ(b.page->state().record.pin, 0x1A2B);
  EXPECT_EQ(b.page->state().record.pinLockedRead, 0);
  EXPECT_EQ(b.prompts.messages, (std::vector<int32_t>{8047, 8052}));
}

}  // namespace
}  // namespace ignition
