// The firmware window offscreen through whole updates against the
// in-process simulator, answering its message boxes as a user would.
#include "firmware/ui/firmware_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "shell/file_dialog.h"
#include "sim/bus.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"
#include "tests/firmware/firmware_file_builder.h"
#include "tests/support/temp_folder.h"
#include "tests/support/ui_test_support.h"
#include "texts/firmware_update_text_ids.h"
#include "texts/text_table.h"

namespace {

using firmware::FirmwareWindow;
using firmware_test::Section;

// Answers every message box that comes up: Yes where there is one, else OK;
// keeps the texts and a picture of the ones named.
class MessageBoxes {
 public:
  explicit MessageBoxes(FirmwareWindow* window) : window_(window) {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
  }
  std::vector<QString> texts;
  bool answerYes = true;
  std::vector<std::pair<QString, QString>> pictures;  // text part, picture name

 private:
  void poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    texts.push_back(box->text());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("BootLoader"));
    for (const auto& [part, name] : pictures) {
      if (box->text().contains(part)) {
        uitest::saveShot(window_, name + QStringLiteral("-window"));
        uitest::saveShot(box, name);
      }
    }
    QAbstractButton* yes = box->button(QMessageBox::Yes);
    QAbstractButton* no = box->button(QMessageBox::No);
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    if (yes != nullptr) {
      (answerYes ? yes : no)->click();
    } else if (ok != nullptr) {
      ok->click();
    }
  }
  FirmwareWindow* window_;
  QTimer timer_;
};

Section ignitionSection() {
  Section s;
  s.typeId = 0x0800;
  s.version[0] = 8;
  s.records = {firmware_test::chunks(0x1000, 6, 0x30)};
  return s;
}

struct WindowBench {
  explicit WindowBench(bool defective, uint16_t deviceId = 0xAD07)
      : bus(scenario(defective, deviceId)) {
    moduleLink =
        std::make_unique<buslink::ModuleLink>(std::make_unique<sim::SimDevice>(bus, clock), clock);
    moduleLink->setPortNumber(3);
    bootLink =
        std::make_unique<buslink::BootLink>(std::make_unique<sim::SimDevice>(bus, clock), clock);
  }
  static sim::Scenario scenario(bool defective, uint16_t deviceId) {
    sim::Scenario s;
    s.ignition.typeWord = 0x0800;
    s.ignition.firmwareVersion = 0x0704;
    s.ignition.serial = 2345678;
    sim::BootloaderSetup b;
    b.startsInBootloader = defective;
    b.deviceId = deviceId;
    b.eraseBlock = 64;
    b.writeBlock = 32;
    s.ignition.bootloader = b;
    return s;
  }
  void chooseFile(const Section& s) {
    const std::string path = temp / "update.blf";
    test_files::writeFile(path, firmware_test::section(s));
    shell::FileDialog::setChooser(
        [path](shell::FileDialog::Kind, const shell::FileDialog&, std::string& chosen) {
          chosen = path;
          return true;
        });
  }
  bool flashHolds(const Section& s) {
    std::lock_guard lock(bus.mutex());
    const sim::BootloaderModel& bl = *bus.bootloaderAt(0xE0);
    for (const firmware_test::Record& r : s.records) {
      if (!std::equal(r.data.begin(), r.data.end(), bl.flash.begin() + r.address)) return false;
    }
    return true;
  }
  std::unique_ptr<FirmwareWindow> open() {
    auto window = std::make_unique<FirmwareWindow>(*bootLink, *moduleLink, temp / "Firmware",
                                                   firmware::SettingsBackup{}, nullptr);
    uitest::activate(window.get());
    return window;
  }

  sim::Bus bus;
  sim::VirtualClock clock;
  test_files::TempFolder temp;
  std::unique_ptr<buslink::ModuleLink> moduleLink;
  std::unique_ptr<buslink::BootLink> bootLink;
};

std::vector<QString> items(QListWidget* list) {
  std::vector<QString> out;
  for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text());
  return out;
}

TEST(FirmwareWindow, ActiveUpdateFromLoadToSuccess) {
  WindowBench b(false);
  const Section s = ignitionSection();
  b.chooseFile(s);
  auto window = b.open();
  ASSERT_TRUE(uitest::waitFor([&] { return window->programButton()->isVisible(); }));
  EXPECT_FALSE(window->activeBox()->isEnabled());
  uitest::saveShot(window.get(), QStringLiteral("firmware-loaded"));

  MessageBoxes boxes(window.get());
  boxes.pictures = {{QStringLiteral("Programmierung starten"), QStringLiteral("firmware-confirm")},
                    {QStringLiteral("erfolgreich"), QStringLiteral("firmware-done")}};
  window->programButton()->click();
  ASSERT_TRUE(uitest::waitFor(
      [&] {
        return window->update().lastResult() != 0 && !window->update().workerRunning() &&
               QApplication::activeModalWidget() == nullptr;
      },
      20000))
      << boxes.texts.size() << " " << window->update().lastResult() << " "
      << (QApplication::activeModalWidget()
              ? QApplication::activeModalWidget()->metaObject()->className()
              : "none")
      << " " << items(window->stepList()).size();
  EXPECT_EQ(window->update().lastResult(), texts::kTextProgrammingDone);
  EXPECT_TRUE(b.flashHolds(s));
  // 9005, the confirmation, 8822 (7.x to 8.x), the result.
  ASSERT_EQ(boxes.texts.size(), 4u);
  EXPECT_TRUE(boxes.texts[2].startsWith(QStringLiteral("Achtung")));
  EXPECT_TRUE(boxes.texts[3].startsWith(QStringLiteral("Programmierung erfolgreich beendet.")));
  const std::vector<QString> list = items(window->stepList());
  EXPECT_NE(std::find(list.begin(), list.end(), QStringLiteral("Firmware Ist: V07.04.00")),
            list.end());
  for (const QString& line : list) EXPECT_LE(line.size(), FirmwareWindow::kLineChars);
  uitest::saveShot(window.get(), QStringLiteral("firmware-finished"));
  // The wait window has gone with the result.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(w->isVisible() && w != window.get())
        << w->metaObject()->className() << " " << w->windowTitle().toStdString();
  }
  window->reject();
}

TEST(FirmwareWindow, PassiveFileStartsListeningAndClosingEndsTheWorker) {
  WindowBench b(false, 0x1234);
  Section s = ignitionSection();
  s.format = 0x0100;
  s.deviceId = 0x1234;
  b.chooseFile(s);
  auto window = b.open();
  ASSERT_TRUE(uitest::waitFor([&] { return window->activeBox()->isChecked(); }));
  EXPECT_TRUE(window->activeBox()->isEnabled());
  EXPECT_FALSE(window->programButton()->isVisible());
  EXPECT_TRUE(window->update().workerRunning());
  uitest::saveShot(window.get(), QStringLiteral("firmware-passive"));
  // Unchecking stops listening; checking again listens anew.
  window->activeBox()->click();
  EXPECT_FALSE(window->activeBox()->isChecked());
  ASSERT_TRUE(uitest::waitFor([&] { return !window->update().workerRunning(); }, 2000));
  window->activeBox()->click();
  EXPECT_TRUE(window->update().workerRunning());
  window->reject();
  EXPECT_FALSE(window->update().workerRunning());
}

TEST(FirmwareWindow, PassiveModeProgramsADefectiveModuleAsSoonAsItAnnouncesItself) {
  WindowBench b(true, 0x1234);
  Section s = ignitionSection();
  s.format = 0x0100;
  s.deviceId = 0x1234;
  b.chooseFile(s);
  MessageBoxes boxes(nullptr);
  auto window = b.open();
  ASSERT_TRUE(uitest::waitFor(
      [&] {
        return window->update().lastResult() != 0 && QApplication::activeModalWidget() == nullptr;
      },
      20000));
  EXPECT_EQ(window->update().lastResult(), texts::kTextProgrammingDone);
  EXPECT_TRUE(b.flashHolds(s));
  EXPECT_TRUE(window->update().workerRunning()) << "waits for the next module";
  window->reject();
}

}  // namespace
