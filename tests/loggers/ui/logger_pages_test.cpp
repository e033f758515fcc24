#include "modules/loggers/ui/logger_pages.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "modules/loggers/ui/car_live_dialog.h"
#include "modules/loggers/ui/car_logger_page.h"
#include "modules/loggers/ui/lambda_page.h"
#include "modules/loggers/ui/rpm_logger_page.h"
#include "modules/loggers/ui/serial_logger_page.h"
#include "shell/file_dialog.h"
#include "shell/page_registry.h"
#include "shell/scripted_prompts.h"
#include "shell/settings_file.h"
#include "shell/ui/main_window.h"
#include "shell/ui/tab_host_window.h"
#include "sim/bus.h"
#include "sim/logger_models.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"
#include "tests/support/ui_test_support.h"
#include "texts/logger_text_ids.h"
#include "texts/text_ids.h"

namespace fs = std::filesystem;

namespace {

sim::Scenario loggers() {
  sim::Scenario s;
  sim::addLoggerModules(s);
  return s;
}

// The program's window with every page, the loggers on an in-process bus,
// scripted prompts and a settings file in a temporary folder.
struct Bench {
  Bench() {
    shell::SettingsFile::Folders folders{folder.path + "/cwd", folder.path + "/appdata",
                                         folder.path + "/docs"};
    for (const std::string* f : {&folders.working, &folders.applicationData, &folders.documents}) {
      fs::create_directories(*f);
    }
    settings = std::make_unique<shell::SettingsFile>(folders, "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
    settings->set("FensterListe", "131071");
    // The conversions note stream times in the working folder's LogDatei.txt.
    previousFolder = fs::current_path();
    fs::current_path(folders.working);
    bus = std::make_unique<sim::Bus>(loggers());
    link =
        std::make_unique<buslink::ModuleLink>(std::make_unique<sim::SimDevice>(*bus, clock), clock);
    link->setPortNumber(3);
    std::vector<shell::ModulePage*> all;
    for (int32_t id = shell::kFirstPageId; id <= shell::kLastPageId; ++id) {
      auto page = loggers::makeLoggerPage(id, *settings, *link, prompts);
      if (!page) page = std::make_unique<shell::ModulePage>(id);
      page->initialise();
      all.push_back(page.get());
      pages.push_back(std::move(page));
    }
    window = std::make_unique<shell::MainWindow>(*settings, *link, all);
    window->start();
    uitest::activate(window.get());
  }
  ~Bench() {
    window.reset();
    link->close();
    fs::current_path(previousFolder);
  }

  // Shows the page's tab.
  template <class T>
  T* open(int32_t pageId) {
    const std::vector<int32_t> ids = shell::pagesForMask(131071);
    int index = 0;
    for (size_t i = 0; i < ids.size(); ++i) {
      if (ids[i] == pageId) index = static_cast<int>(i);
    }
    window->tabHost().showPage(index);
    auto* page = dynamic_cast<T*>(pages[static_cast<size_t>(pageId - shell::kFirstPageId)].get());
    EXPECT_NE(page, nullptr);
    EXPECT_NE(page->widget(), nullptr);
    return page;
  }
  void click(shell::ModulePage* page, int32_t id) { uitest::click(page->widget(), id); }
  QString text(shell::ModulePage* page, int32_t id) {
    if (auto* label = uitest::control<QLabel>(page->widget(), id)) return label->text();
    return uitest::text(page->widget(), id);
  }

  uitest::TempFolder folder;
  fs::path previousFolder;
  std::unique_ptr<shell::SettingsFile> settings;
  sim::VirtualClock clock;
  std::unique_ptr<sim::Bus> bus;
  std::unique_ptr<buslink::ModuleLink> link;
  shell::ScriptedPrompts prompts;
  std::vector<std::unique_ptr<shell::ModulePage>> pages;
  std::unique_ptr<shell::MainWindow> window;
};

// The file dialogs answer with these paths in turn (an empty one cancels).
void answerDialogs(std::deque<std::string> paths) {
  auto queue = std::make_shared<std::deque<std::string>>(std::move(paths));
  shell::FileDialog::setChooser(
      [queue](shell::FileDialog::Kind, const shell::FileDialog&, std::string& chosen) {
        if (queue->empty() || queue->front().empty()) return false;
        chosen = queue->front();
        queue->pop_front();
        return true;
      });
}

const char kVehicleFile[] =
    "[CarLogger]\r\n[Referenz]\r\n5,0\r\n[G-Sensor]\r\n0\r\n0\r\n[RadUmfang]\r\n2\r\n"
    "[Zylinder]\r\n4\r\n[Sensor1]\r\n\xB0"
    "C\r\n1\r\n1000\r\n2000 Ohm 100\r\n500 Ohm 20\r\n[Sensor2]\r\n[Sensor3]\r\n[Sensor4]\r\n";

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(LambdaPage, ReadWriteAndConvert) {
  Bench b;
  auto* page = b.open<loggers::LambdaPage>(206);
  using P = loggers::LambdaPage;
  EXPECT_EQ(b.text(page, P::kDay), QStringLiteral("80"));
  b.bus->moduleAt(0x60)->memory[2] = 120;
  b.click(page, P::kRead);
  EXPECT_EQ(b.text(page, P::kDay), QStringLiteral("120"));
  EXPECT_EQ(b.text(page, P::kVersion), QStringLiteral("V 1.0"));
  uitest::setText(page->widget(), P::kNight, QStringLiteral("33"));
  b.click(page, P::kWrite);
  EXPECT_EQ(b.bus->moduleAt(0x60)->memory[1], 33);
  EXPECT_EQ(b.prompts.messages,
            (std::vector<int32_t>{texts::kTextLoggerReadOk, texts::kTextLoggerWriteOk}));
  // A brightness above 255 is refused when the field is left.
  auto* day = uitest::control<QLineEdit>(page->widget(), P::kDay);
  uitest::typeAndLeave(day, QStringLiteral("256"),
                       uitest::control<QLineEdit>(page->widget(), P::kNight));
  EXPECT_EQ(b.prompts.messages.back(), texts::kTextParameterOutOfRange);
  uitest::saveShot(b.window.get(), QStringLiteral("lambda_page"));

  // A conversion: the log, then the output; the wait window runs.
  std::string log(512, '\0');
  const unsigned char header[] = {0x19, 0x03, 0x03, 0x14, 0x05, 0x00, 0,    0,
                                  0,    0,    0,    0,    98,   255,  0x0E, 0xA6};
  std::copy(std::begin(header), std::end(header), log.begin());
  writeFile(b.folder.path + "/LogDatei.bin", log + std::string(512, '\xFF'));
  const std::string out = b.folder.path + "/out.txt";
  answerDialogs({b.folder.path + "/LogDatei.bin", out});
  b.prompts.messages.clear();
  b.click(page, P::kConvert);
  EXPECT_TRUE(b.prompts.messages.empty());
  std::ifstream in(out, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("\r\n03.03.2019\t14:05:00\t 1000\t0,98"), std::string::npos);
  EXPECT_EQ(b.prompts.lastWaitText, texts::kTextConvertingData);
  EXPECT_EQ(b.settings->get("PfadLambdaLogOutDatei", ""), b.folder.path + "/");
  EXPECT_TRUE(fs::exists(b.folder.path + "/cwd/LogDatei.txt"));
}

TEST(RpmLoggerPage, ReadWriteClear) {
  Bench b;
  auto* page = b.open<loggers::RpmLoggerPage>(208);
  using P = loggers::RpmLoggerPage;
  b.click(page, P::kRead);
  EXPECT_EQ(b.text(page, P::kLimit), QStringLiteral("6000"));
  EXPECT_EQ(b.text(page, P::kMaxSpeed), QStringLiteral("6250"));
  EXPECT_EQ(b.text(page, P::kTotal), QStringLiteral("1000"));
  EXPECT_EQ(b.text(page, P::kCount5to49), QStringLiteral("12"));
  uitest::saveShot(b.window.get(), QStringLiteral("rpm_logger_page"));
  auto* strokes = uitest::control<QLineEdit>(page->widget(), P::kStrokes);
  auto* limit = uitest::control<QLineEdit>(page->widget(), P::kLimit);
  uitest::typeAndLeave(strokes, QStringLiteral("3"), limit);
  EXPECT_EQ(b.prompts.messages.back(), texts::kTextParameterOutOfRange);
  uitest::typeAndLeave(strokes, QStringLiteral("2"), limit);
  uitest::typeAndLeave(limit, QStringLiteral("3000"), strokes);
  b.click(page, P::kWrite);
  // 2 x 3750000 / (3000 x 4) = 625.
  EXPECT_EQ(b.bus->moduleAt(0xF0)->memory[32] * 256 + b.bus->moduleAt(0xF0)->memory[33], 625);
  EXPECT_EQ(b.text(page, P::kMaxSpeed), QStringLiteral("0"));
  EXPECT_EQ(b.prompts.messages.back(), texts::kTextLoggerWriteOk);
  const size_t shown = b.prompts.messages.size();
  b.click(page, P::kClear);
  EXPECT_EQ(b.prompts.messages.size(), shown) << "clearing shows nothing";
}

TEST(SerialLoggerPage, ModesListsAndModule) {
  Bench b;
  auto* page = b.open<loggers::SerialLoggerPage>(209);
  using P = loggers::SerialLoggerPage;
  auto* list = uitest::control<QComboBox>(page->widget(), P::kRateList);
  EXPECT_EQ(list->currentText(), QStringLiteral("19200 Baud"));
  EXPECT_FALSE(uitest::control<QLineEdit>(page->widget(), P::kIdentifier)->isEnabled());
  b.click(page, P::kDso);
  EXPECT_EQ(list->currentText(), QStringLiteral("10 kHz"));
  EXPECT_EQ(list->itemText(0), QStringLiteral("20 Hz"));
  b.click(page, P::kSelective);
  EXPECT_TRUE(uitest::control<QLineEdit>(page->widget(), P::kIdentifier)->isEnabled());
  uitest::saveShot(b.window.get(), QStringLiteral("serial_logger_page"));
  b.click(page, P::kZor);
  EXPECT_EQ(list->currentText(), QStringLiteral("9600 Baud"));
  EXPECT_FALSE(list->isEnabled());
  EXPECT_EQ(b.text(page, P::kCrc), QStringLiteral("90"));
  b.click(page, P::kWrite);
  EXPECT_EQ(b.bus->moduleAt(0x50)->memory[3], 16);
  EXPECT_EQ(b.bus->moduleAt(0x50)->memory[19], 90);
  b.bus->moduleAt(0x50)->memory[3] = 2;
  b.click(page, P::kRead);
  EXPECT_TRUE(uitest::control<QRadioButton>(page->widget(), P::kDso)->isChecked());
  EXPECT_EQ(b.prompts.messages,
            (std::vector<int32_t>{texts::kTextLoggerWriteOk, texts::kTextLoggerReadOk}));

  // The card's log file: 2 MByte in the chosen folder, always LogDatei.bin.
  uitest::setText(page->widget(), P::kLogSize, QStringLiteral("2"));
  answerDialogs({b.folder.path + "/Karte.bin"});
  b.click(page, P::kCreateLog);
  EXPECT_EQ(fs::file_size(b.folder.path + "/LogDatei.bin"), 2u << 20);
  EXPECT_EQ(b.prompts.lastWaitText, texts::kTextCreatingLogFile);
}

TEST(CarLoggerPage, HoursClockAndCard) {
  Bench b;
  auto* page = b.open<loggers::CarLoggerPage>(214);
  using P = loggers::CarLoggerPage;
  EXPECT_EQ(b.text(page, P::kKiloBytes), QStringLiteral("740"));
  auto* hours = uitest::control<QLineEdit>(page->widget(), P::kHours);
  auto* next = uitest::control<QAbstractButton>(page->widget(), P::kCreate);
  uitest::typeAndLeave(hours, QStringLiteral("10"), next);
  EXPECT_EQ(b.text(page, P::kKiloBytes), QStringLiteral("1480"));
  uitest::typeAndLeave(hours, QStringLiteral("1001"), next);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{texts::kTextParameterOutOfRange});
  uitest::typeAndLeave(hours, QStringLiteral("10"), next);

  answerDialogs({b.folder.path + "/Karte/egal.bin"});
  fs::create_directories(b.folder.path + "/Karte");
  b.click(page, P::kCreate);
  EXPECT_EQ(fs::file_size(b.folder.path + "/Karte/LogDatei.bin"), 1515520u);

  shell::setCheck(page->widget(), P::kLogZor, 1);
  b.click(page, P::kSetClock);
  EXPECT_EQ(b.prompts.messages.back(), texts::kTextClockSet);
  EXPECT_EQ(b.text(page, P::kVersion), QStringLiteral("V 1.2"));
  EXPECT_EQ(b.bus->moduleAt(0x50)->memory[6], 2);
  EXPECT_EQ(b.bus->moduleAt(0x50)->clockRegisters.size(), 6u);
  uitest::saveShot(b.window.get(), QStringLiteral("car_logger_page"));

  // No vehicle file chosen yet: converting asks for one.
  b.click(page, P::kConvert);
  EXPECT_EQ(b.prompts.messages.back(), texts::kTextChooseVehicleFile);
}

TEST(CarLoggerPage, VehicleFileLiveDisplayAndConversion) {
  Bench b;
  auto* page = b.open<loggers::CarLoggerPage>(214);
  using P = loggers::CarLoggerPage;
  const std::string vehicle = b.folder.path + "/Auto.zeb";
  writeFile(vehicle, kVehicleFile);
  answerDialogs({vehicle});
  b.click(page, P::kChooseVehicle);
  EXPECT_EQ(b.text(page, P::kVehicle), QString::fromStdString(vehicle));
  EXPECT_EQ(b.settings->get("NameCarLogger", ""), vehicle);

  bool ran = false;
  page->setRunDialog([&](QDialog& d) {
    auto& live = dynamic_cast<loggers::CarLiveDialog&>(d);
    EXPECT_TRUE(live.timer()->isActive());
    live.tick();
    live.show();
    EXPECT_EQ(uitest::text(&live, loggers::CarLiveDialog::kRpm), QStringLiteral("3000"));
    EXPECT_EQ(uitest::text(&live, loggers::CarLiveDialog::kVoltage), QStringLiteral("13,5"));
    EXPECT_EQ(uitest::control<QLabel>(&live, loggers::CarLiveDialog::kUnit1)->text(),
              QStringLiteral("°C"));
    uitest::saveShot(&live, QStringLiteral("car_live_dialog"));
    ran = true;
  });
  b.click(page, P::kLive);
  EXPECT_TRUE(ran);
  EXPECT_LT(b.link->portNumber(), 128) << "the port is free after the live display";

  // A log of one data block.
  std::string log(512, '\0');
  const unsigned char header[] = {0x19, 0x03, 0x03, 0x14, 0x05, 0x00};
  std::copy(std::begin(header), std::end(header), log.begin());
  log[12 + 11] = '\xFF';
  log[12 + 12] = '\xFF';
  writeFile(b.folder.path + "/LogDatei.bin", log);
  answerDialogs({b.folder.path + "/LogDatei.bin", b.folder.path + "/LogDatei-x.txt"});
  b.prompts.messages.clear();
  b.click(page, P::kConvert);
  EXPECT_TRUE(b.prompts.messages.empty());
  EXPECT_TRUE(fs::exists(b.folder.path + "/LogDatei-x.bin"));
  std::ifstream in(b.folder.path + "/LogDatei-x.txt", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("03.03.2019\t14:05:00\t  0,000\t0,0\t   0\t"), std::string::npos) << text;
}

}  // namespace
