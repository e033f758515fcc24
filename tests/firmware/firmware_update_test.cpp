// The update procedure (window logic without a window) against the
// in-process simulator: the worker runs on its own thread and talks to the
// test's "window" only through posts that the test hands back on its thread.
#include "firmware/firmware_update.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "firmware/firmware_file.h"
#include "firmware/firmware_log.h"
#include "firmware_file_builder.h"
#include "modules/ignition/settings_backup.h"
#include "shell/scripted_prompts.h"
#include "sim/bus.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"
#include "tests/support/temp_folder.h"
#include "texts/boot_text_ids.h"
#include "texts/firmware_update_text_ids.h"
#include "texts/text_ids.h"
#include "texts/text_table.h"

namespace {

using firmware::FirmwareUpdate;
using firmware::WorkerPost;
using firmware_test::Record;
using firmware_test::Section;

constexpr uint32_t kVersionAt = 0x1000;

// The window as a script: answers in order, everything shown is recorded.
class ScriptView : public firmware::UpdateView {
 public:
  std::vector<bool> answers;  // yes/no questions, in order; none left = no
  std::vector<std::string> typed;
  std::string file;

  std::vector<std::string> list, messages, questions;
  bool programShown = false, activeEnabled = false, activeChecked = false;
  int waitOpened = 0, waitClosed = 0;
  std::atomic<int> steps{0};

  void addToList(const std::string& text, bool) override { list.push_back(text); }
  void clearList() override { list.clear(); }
  std::function<void(const std::string&)> onMessage;  // what the user does on reading it
  void showMessage(const std::string& text) override {
    messages.push_back(text);
    if (onMessage) onMessage(text);
  }
  bool askYesNo(const std::string& text) override {
    questions.push_back(text);
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  bool askText(const std::string& prompt, std::string& text, size_t maxChars) override {
    questions.push_back(prompt);
    if (typed.empty()) return false;
    text = typed.front().substr(0, maxChars);
    typed.erase(typed.begin());
    return true;
  }
  bool chooseFile(std::string& path) override {
    if (file.empty()) return false;
    path = file;
    return true;
  }
  void openWaitWindow(int32_t, int32_t) override { ++waitOpened; }
  void stepWaitWindow() override { ++steps; }
  void closeWaitWindow() override { ++waitClosed; }
  void showProgramButton(bool shown) override { programShown = shown; }
  void setActiveBox(bool enabled, bool checked) override {
    activeEnabled = enabled;
    activeChecked = checked;
  }
  void post(const WorkerPost& m) override {
    std::lock_guard lock(mutex_);
    posts_.push_back(m);
    ready_.notify_one();
  }
  // The window's message loop: hands every post to the procedure until the
  // worker has ended and nothing is left, or until `done` holds.
  template <typename Done>
  void pumpUntil(FirmwareUpdate& update, Done done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      ASSERT_LT(std::chrono::steady_clock::now(), limit) << "the update hangs";
      std::unique_lock lock(mutex_);
      ready_.wait_for(lock, std::chrono::milliseconds(5), [this] { return !posts_.empty(); });
      if (posts_.empty()) {
        if (!update.workerRunning()) return;
        continue;
      }
      const WorkerPost m = posts_.front();
      posts_.pop_front();
      lock.unlock();
      update.handlePost(m);
    }
  }
  void pump(FirmwareUpdate& update) {
    pumpUntil(update, [] { return false; });
  }
  bool asked(int32_t textId) const {
    const std::string t(texts::text(textId));
    return std::any_of(questions.begin(), questions.end(),
                       [&](const std::string& q) { return q.find(t) != std::string::npos; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<WorkerPost> posts_;
};

// Program data: the version the firmware reports sits at its start.
Record program(uint8_t major, uint8_t minor, uint8_t patch) {
  Record r = firmware_test::chunks(kVersionAt, 8, 0x30);
  r.data[0] = major;
  r.data[1] = minor;
  r.data[2] = patch;
  return r;
}

Section ignitionSection(uint16_t type, uint8_t major) {
  Section s;
  s.typeId = type;
  s.version[0] = major;
  s.version[1] = 4;
  s.version[2] = 1;
  // The firmware starts at 0, as a real one does (its reset vector).
  s.records = {firmware_test::chunks(0, 4, 0x50), program(major, 4, 1),
               firmware_test::chunks(0x2000, 3, 0x70)};
  return s;
}

sim::BootloaderSetup bootloader(bool defective, uint16_t deviceId) {
  sim::BootloaderSetup b;
  b.deviceId = deviceId;
  b.baud = 9600;
  b.startsInBootloader = defective;
  b.flashSize = 65536;
  b.eraseBlock = 64;
  b.writeBlock = 32;
  b.versionAt = kVersionAt;
  return b;
}

struct Bench {
  explicit Bench(bool defective = false, uint16_t firmware = 0x0704, uint16_t deviceId = 0xAD07,
                 int powerCycleAfterChunk = 0)
      : bus(scenario(defective, firmware, deviceId, powerCycleAfterChunk)) {
    moduleLink =
        std::make_unique<buslink::ModuleLink>(std::make_unique<sim::SimDevice>(bus, clock), clock);
    moduleLink->setPortNumber(4);
    bootLink =
        std::make_unique<buslink::BootLink>(std::make_unique<sim::SimDevice>(bus, clock), clock);
    std::filesystem::create_directories(folderPath);
  }
  static sim::Scenario scenario(bool defective, uint16_t firmware, uint16_t deviceId,
                                int powerCycleAfterChunk) {
    sim::Scenario s;
    s.ignition.typeWord = 0x0800;
    s.ignition.firmwareVersion = firmware;
    s.ignition.serial = 1234567;
    s.ignition.bootloader = bootloader(defective, deviceId);
    s.ignition.bootloader->powerCycleAfterChunk = powerCycleAfterChunk;
    return s;
  }
  std::string writeFile(const std::vector<Section>& sections) {
    std::string bytes;
    for (const Section& s : sections) bytes += firmware_test::section(s);
    const std::string path = temp / "update.blf";
    test_files::writeFile(path, bytes);
    return path;
  }
  // The flash holds every record of the section.
  bool flashHolds(const Section& s) {
    std::lock_guard lock(bus.mutex());
    const sim::BootloaderModel& bl = *bus.bootloaderAt(0xE0);
    for (const Record& r : s.records) {
      if (!std::equal(r.data.begin(), r.data.end(), bl.flash.begin() + r.address)) return false;
    }
    return true;
  }
  uint16_t runningVersion() {
    {
      std::lock_guard lock(bus.mutex());
      bus.powerCycle(clock.now_us());
    }
    clock.advanceNs(3'000'000'000);
    uint16_t v = 0;
    moduleLink->openPort();
    moduleLink->selectModule(0xE0);
    moduleLink->readFirmwareVersion(v);
    moduleLink->close();
    return v;
  }
  std::string log() { return test_files::readFile(folderPath + "/" + firmware::kFirmwareLogName); }

  sim::Bus bus;
  sim::VirtualClock clock;
  test_files::TempFolder temp;
  std::string folderPath = temp / "Firmware";
  std::unique_ptr<buslink::ModuleLink> moduleLink;
  std::unique_ptr<buslink::BootLink> bootLink;
  ScriptView view;
};

TEST(FirmwareUpdate, ActiveStartProgramsTheModuleAndLogsIt) {
  Bench b;
  const Section s = ignitionSection(0x0800, 8);
  b.view.file = b.writeFile({ignitionSection(0x0700, 7), s});
  // 9005, the confirmation, then 8822 (7.x to 8.x on an ignition).
  b.view.answers = {true, true, true};
  FirmwareUpdate update(*b.bootLink, *b.moduleLink, b.view, b.folderPath);
  update.open();
  EXPECT_TRUE(b.view.programShown);
  update.activeStart();
  b.view.pump(update);

  EXPECT_EQ(update.lastResult(), texts::kTextProgrammingDone);
  EXPECT_TRUE(b.view.asked(texts::kTextIgnitionCheck));
  EXPECT_TRUE(b.flashHolds(s));
  EXPECT_EQ(b.view.waitOpened, 1);
  EXPECT_EQ(b.view.steps.load(), 15);  // 4 + 8 + 3 chunks
  // The confirmation's lines in the list, the module's and the file's versions.
  EXPECT_NE(std::find(b.view.list.begin(), b.view.list.end(), "Firmware Ist: V07.04.00"),
            b.view.list.end());
  EXPECT_NE(std::find(b.view.list.begin(), b.view.list.end(), "Firmware Neu: V08.04.01"),
            b.view.list.end());
  const std::string log = b.log();
  EXPECT_EQ(log.substr(0, log.find('\t', 26) + 1), "1234567\t0x0800\t7.4.0\t8.4.1\t") << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
  update.close();
  EXPECT_EQ(b.runningVersion(), 0x1804);
}

// A window that answers before the worker has gone on from its post must
// still be heard: the worker waits for the answer, not for its own state.
class AtOnceView : public ScriptView {
 public:
  FirmwareUpdate* update = nullptr;
  void post(const WorkerPost& m) override { update->handlePost(m); }
};

TEST(FirmwareUpdate, ConfirmationAnsweredAtOnceIsNotLost) {
  Bench b;
  const Section s = ignitionSection(0x0800, 8);
  AtOnceView view;
  view.file = b.writeFile({s});
  view.answers = {true, true, true};
  FirmwareUpdate update(*b.bootLink, *b.moduleLink, view, b.folderPath);
  view.update = &update;
  update.open();
  update.activeStart();
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (update.workerRunning() && std::chrono::steady_clock::now() < limit) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_FALSE(update.workerRunning()) << "the worker waits for an answer given already";
  EXPECT_EQ(update.lastResult(), texts::kTextProgrammingDone);
  EXPECT_TRUE(b.flashHolds(s));
}

TEST(FirmwareUpdate, RefusalsWriteNothing) {
  struct Case {
    const char* what;
    std::vector<bool> answers;
    int32_t askedLast;
  };
  const Case cases[] = {
      {"not ready", {false}, texts::kTextUpdateReady},
      {"confirmation declined", {true, false}, texts::kTextStartProgramming},
      {"ignition check declined", {true, true, false}, texts::kTextIgnitionCheck},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bench b;
    b.view.file = b.writeFile({ignitionSection(0x0800, 8)});
    b.view.answers = c.answers;
    FirmwareUpdate update(*b.bootLink, *b.moduleLink, b.view, b.folderPath);
    update.open();
    update.activeStart();
    b.view.pump(update);
    EXPECT_TRUE(b.view.asked(c.askedLast));
    EXPECT_EQ(b.view.waitOpened, 0);
    EXPECT_EQ(update.lastResult(), 0);
    std::lock_guard lock(b.bus.mutex());
    const sim::BootloaderModel& bl = *b.bus.bootloaderAt(0xE0);
    EXPECT_TRUE(std::all_of(bl.flash.begin() + kVersionAt, bl.flash.begin() + kVersionAt + 128,
                            [](uint8_t v) { return v != 0x30; }));
  }
}

TEST(FirmwareUpdate, SameMajorVersionSkipsTheIgnitionCheckAndOlderFileIsFlagged) {
  Bench b(false, 0x0904);  // the module runs 9.4, the file brings 8.4.1
  b.view.file = b.writeFile({ignitionSection(0x0800, 8)});
  b.view.answers = {true, true};
  FirmwareUpdate update(*b.bootLink, *b.moduleLink, b.view, b.folderPath);
  update.open();
  update.activeStart();
  b.view.pump(update);
  EXPECT_FALSE(b.view.asked(texts::kTextIgnitionCheck));
  EXPECT_TRUE(b.view.asked(texts::kTextSoftwareOlder));
  EXPECT_TRUE(b.view.asked(texts::kTextProgramAnyway));
  EXPECT_EQ(update.lastResult(), texts::kTextProgrammingDone);
}

TEST(FirmwareUpdate, PowerLossWhileProgrammingAsksForARestartAndFinishes) {
  Bench b(false, 0x0704, 0xAD07, 5);
  const Section s = ignitionSection(0x0800, 8);
  b.view.file = b.writeFile({s});
  b.view.answers = {true, true, true};
  const std::string restart(texts::text(texts::kTextSwitchModuleOffAndOn));
  // The retries reached the restarted bootloader and silenced it; the user
  // switches the module off and on as the message asks.
  b.view.onMessage = [&](const std::string& text) {
    if (text != restart) return;
    std::lock_guard lock(b.bus.mutex());
    b.bus.powerCycle(b.clock.now_us());
  };
  FirmwareUpdate update(*b.bootLink, *b.moduleLink, b.view, b.folderPath);
  update.open();
  update.activeStart();
  b.view.pump(update);
  // 8093 first (the wait window stays), then the update goes on to its end.
  ASSERT_GE(b.view.messages.size(), 2u);
  EXPECT_EQ(b.view.messages[0], restart);
  EXPECT_EQ(b.view.messages.back(), std::string(texts::text(texts::kTextProgrammingDone)));
  EXPECT_EQ(b.view.waitClosed, 1);
  EXPECT_TRUE(b.flashHolds(s));
}

TEST(FirmwareUpdate, DefectiveModuleFoundByTheLastLogLineOfItsSerialNumber) {
  Bench b(true);
  const Section wanted = ignitionSection(0x0801, 8);
  b.view.file = b.writeFile({ignitionSection(0x0800, 8), wanted});
  // The same serial number twice: the later line's type counts.
  test_files::writeFile(b.folderPath + "/" + firmware::kFirmwareLogName,
                        "1234567\t0x0800\t7.4.0\t8.4.1\t01.02.2026\t10:00:00\n"
                        "7654321\t0x0800\t7.4.0\t8.4.1\t01.02.2026\t10:01:00\n"
                        "1234567\t0x0801\t7.4.0\t8.4.1\t02.02.2026\t11:00:00\n");
  b.view.typed = {"1234567"};
  b.view.answers = {true, true, true};
  FirmwareUpdate update(*b.bootLink, *b.moduleLink, b.view, b.folderPath);
  update.open();
  update.activeStart();
  b.view.pump(update);
  EXPECT_TRUE(b.view.asked(texts::kTextEnterSerialOfDefective));
  EXPECT_FALSE(b.view.asked(texts::kTextEnterTypeOfDefective));
  EXPECT_EQ(update.lastResult(), texts::kTextProgrammingDone);
  EXPECT_TRUE(b.flashHolds(wanted));
}

TEST(FirmwareUpdate, DefectiveModuleWithUnknownSerialNumberAsksForTheType) {
  Bench b(true);
  const Section wanted = ignitionSection(0x0801, 8);
  b.view.file = b.writeFile({ignitionSection(0x0800, 8), wanted});
  b.view.typed = {"999", "801"};
  b.view.answers = {true, true, true};
  FirmwareUpdate update(*b.bootLink, *b.moduleLink, b.view, b.folderPath);
  update.open();
  update.activeStart();
  b.view.pump(update);
  EXPECT_TRUE(b.view.asked(texts::kTextEnterTypeOfDefective));
  EXPECT_TRUE(b.flashHolds(wanted));
}

TEST(FirmwareUpdate, PassiveModeProgramsEachBootloaderUntilClosed) {
  // A device id without a family: the file can only be programmed passively.
  Bench b(true, 0x0704, 0x1234);
  Section s = ignitionSection(0x0800, 8);
  s.format = 0x0100;
  s.deviceId = 0x1234;
  b.view.file = b.writeFile({s});
  b.view.answers = {true, false};
  FirmwareUpdate update(*b.bootLink, *b.moduleLink, b.view, b.folderPath);
  update.open();
  ASSERT_EQ(firmware::imageKind(b.bootLink->image()), 0);
  EXPECT_FALSE(b.view.programShown);
  EXPECT_TRUE(b.view.activeChecked);
  b.view.pumpUntil(update, [&] { return update.lastResult() != 0; });
  EXPECT_EQ(update.lastResult(), texts::kTextProgrammingDone);
  EXPECT_TRUE(b.flashHolds(s));
  // Older format: the firmware numbers are compared.
  EXPECT_NE(std::find(b.view.list.begin(), b.view.list.end(), "Software-Firmware-Nr: 17"),
            b.view.list.end());

  // The worker goes back to listening; the module is switched off and on and
  // announces itself again; this time the user says no.
  const size_t asked = b.view.questions.size();
  {
    std::lock_guard lock(b.bus.mutex());
    b.bus.powerCycle(b.clock.now_us());
  }
  b.view.pumpUntil(update, [&] { return b.view.questions.size() > asked; });
  EXPECT_TRUE(update.workerRunning());
  const auto start = std::chrono::steady_clock::now();
  update.close();
  EXPECT_FALSE(update.workerRunning());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(FirmwareUpdate, ClosingWhilePassiveWorkerWaitsEndsIt) {
  Bench b(false, 0x0704, 0x1234);
  Section s = ignitionSection(0x0800, 8);
  s.format = 0x0100;
  s.deviceId = 0x1234;
  b.view.file = b.writeFile({s});
  FirmwareUpdate update(*b.bootLink, *b.moduleLink, b.view, b.folderPath);
  update.open();
  ASSERT_TRUE(update.workerRunning());
  const auto start = std::chrono::steady_clock::now();
  update.close();
  EXPECT_FALSE(update.workerRunning());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(FirmwareUpdate, SettingsSavedBeforeTheUpdateAreNamedInTheLog) {
  Bench b;
  b.view.file = b.writeFile({ignitionSection(0x0800, 8)});
  // 9005, save the settings, the confirmation, 8822.
  b.view.answers = {true, true, true, true};
  shell::ScriptedPrompts prompts;
  FirmwareUpdate update(*b.bootLink, *b.moduleLink, b.view, b.folderPath);
  update.setSettingsBackup(
      [&](buslink::ModuleLink& link, const std::string& folder, std::string& name) {
        return ignition::backupIgnitionSettings(link, prompts, folder, name);
      });
  update.open();
  update.activeStart();
  b.view.pump(update);
  ASSERT_TRUE(b.view.asked(texts::kTextBackupSettingsFirst));
  EXPECT_EQ(update.lastResult(), texts::kTextProgrammingDone);
  std::string saved;
  for (const auto& e : std::filesystem::directory_iterator(b.folderPath)) {
    if (e.path().extension() == ".Ignar") saved = e.path().filename().string();
  }
  ASSERT_EQ(saved.substr(0, 8), "1234567_");
  const std::string log = b.log();
  EXPECT_EQ(log.substr(log.size() - saved.size() - 2), "\t" + saved + "\n");
}

TEST(FirmwareLog, LinesAsWrittenAndReadBack) {
  firmware::LogEntry e;
  e.serial = 0x0123456;
  e.typeId = 0x0a1;
  e.presentVersion = 0x070400;
  e.newVersion = 0x080401;
  e.time = {2026, 3, 9, 7, 5, 2, 1};
  EXPECT_EQ(firmware::logLine(e), "0123456\t0x00a1\t7.4.0\t8.4.1\t09.03.2026\t07:05:02\n");
  // A leading 0 is a decimal digit, not an octal prefix.
  EXPECT_EQ(firmware::findTypeForSerial(firmware::logLine(e), 123456), 0x00a1);
  EXPECT_FALSE(firmware::findTypeForSerial("garbage\n\n12 zz\n", 12).has_value());
}

}  // namespace
