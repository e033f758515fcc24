#include "firmware/firmware_update.h"

#include <cstdio>
#include <cstdlib>

#include "firmware/firmware_file.h"
#include "firmware/firmware_log.h"
#include "firmware/section_header.h"
#include "platform/clock.h"
#include "texts/boot_text_ids.h"
#include "texts/firmware_text_ids.h"
#include "texts/firmware_update_text_ids.h"
#include "texts/text_ids.h"
#include "texts/text_table.h"

namespace firmware {

namespace {

using buslink::BootLink;

constexpr uint8_t kIgnitionFamily = 0xE0;
constexpr uint8_t kAnnounce = 0x55;
constexpr int kAttempts = 3;
constexpr uint32_t kPollMs = 200;
constexpr uint32_t kClosePollMs = 10;
constexpr size_t kSerialChars = 7;
constexpr size_t kTypeChars = 6;

// Loading a section sets the bootloader link's rate; while its port is closed
// the rate is only stored for the next open.
class LinkBootPort : public BootPort {
 public:
  explicit LinkBootPort(BootLink& link) : link_(link) {}
  int32_t setBaudRate(int32_t rate) override { return link_.setBaudRate(rate); }
  void discardInput() override { link_.serialPort().purgeReceive(); }

 private:
  BootLink& link_;
};

std::string text(int32_t id) {
  return std::string(texts::text(id));
}

uint32_t major(uint32_t version) {
  return (version >> 16) & 0xFF;
}

std::string format(const char* pattern, unsigned a, unsigned b = 0, unsigned c = 0) {
  char buf[64];
  std::snprintf(buf, sizeof buf, pattern, a, b, c);
  return buf;
}

}  // namespace

FirmwareUpdate::FirmwareUpdate(BootLink& bootLink, buslink::ModuleLink& moduleLink,
                               UpdateView& view, std::string firmwareFolder)
    : boot_(bootLink), link_(moduleLink), view_(view), folder_(std::move(firmwareFolder)) {
  boot_.setPostHook([this](int32_t textId, int32_t value) {
    view_.post({WorkerPost::kResult, textId, value});
  });
  boot_.setProgressHook([this] { view_.stepWaitWindow(); });
}

FirmwareUpdate::~FirmwareUpdate() {
  close();
  boot_.setPostHook(nullptr);
  boot_.setProgressHook(nullptr);
}

void FirmwareUpdate::open() {
  link_.close();
  boot_.setPortNumber(link_.portNumber());
  load();
}

void FirmwareUpdate::load() {
  std::string path;
  if (!view_.chooseFile(path)) return;
  loadPath(path);
}

void FirmwareUpdate::loadPath(const std::string& path) {
  view_.showProgramButton(false);
  // A passive worker still listening ends with the port.
  boot_.abort();
  if (thread_.joinable()) thread_.join();
  view_.setActiveBox(false, false);
  boot_.state() = BootLink::kStateRun;
  LinkBootPort port(boot_);
  loaded_ = false;
  const int32_t e = loadFirmwareFile(boot_.image(), path, &port);
  if (e != 0) {
    showError(e);
    return;
  }
  loaded_ = true;
  view_.clearList();
  view_.addToList(path, true);
  const int kind = imageKind(boot_.image());
  if (kind == 1 || kind == 2) {
    view_.showProgramButton(true);
  } else {
    setPassive(true);
  }
}

void FirmwareUpdate::setPassive(bool on) {
  if (!on) {
    boot_.abort();
    view_.setActiveBox(true, false);
    return;
  }
  if (thread_.joinable()) thread_.join();
  if (boot_.openPort() != 0) {
    showError(texts::kTextCannotOpenPort);
    view_.setActiveBox(true, false);
    return;
  }
  boot_.resetPulse();
  boot_.serialPort().setRts(1);
  boot_.serialPort().setDtr(0);
  boot_.serialPort().purgeReceive();
  view_.setActiveBox(true, true);
  boot_.state() = BootLink::kStateRun;
  boot_.synchronised() = false;
  startWorker();
}

void FirmwareUpdate::activeStart() {
  if (!view_.askYesNo(text(texts::kTextUpdateReady))) return;
  if (thread_.joinable()) {
    // A passive worker would read the same port.
    boot_.abort();
    thread_.join();
    view_.setActiveBox(true, false);
  }
  boot_.state() = BootLink::kStateRun;
  if (findDefectiveModule()) return;
  std::string settingsFile;
  if (!backupSettings(settingsFile)) return;
  identifyAndRestart(settingsFile);
}

bool FirmwareUpdate::findDefectiveModule() {
  if (boot_.openPort() != 0) {
    showError(texts::kTextCannotOpenPort);
    return false;
  }
  boot_.serialPort().setRts(1);
  boot_.serialPort().setDtr(0);
  if (boot_.detectBaudRate() == 0) {
    boot_.close();
    return false;
  }
  boot_.close();

  std::string typed;
  if (!view_.askText(text(texts::kTextEnterSerialOfDefective), typed, kSerialChars)) typed.clear();
  const uint32_t serial = static_cast<uint32_t>(std::strtoul(typed.c_str(), nullptr, 10));
  std::optional<uint16_t> type = findTypeForSerialInFolder(folder_, serial);
  if (!type) {
    std::string typeText;
    if (!view_.askText(text(texts::kTextEnterTypeOfDefective), typeText, kTypeChars)) {
      typeText.clear();
    }
    type = static_cast<uint16_t>(std::strtoul(typeText.c_str(), nullptr, 16));
  }
  LinkBootPort port(boot_);
  if (const int32_t e = selectSectionForType(boot_.image(), *type, &port); e != 0) {
    showError(e);
    return false;
  }
  if (boot_.openPort() != 0) {
    showError(texts::kTextCannotOpenPort);
    return true;
  }
  boot_.serialPort().setRts(1);
  boot_.serialPort().setDtr(0);
  boot_.drain();
  if (boot_.waitForBootloader() != 0) {
    boot_.close();
    showError(texts::kTextComError);
    return true;
  }
  startWorker();
  return true;
}

bool FirmwareUpdate::backupSettings(std::string& fileName) {
  if (boot_.image().family != kIgnitionFamily || !backup_) return true;
  if (!view_.askYesNo(text(texts::kTextBackupSettingsFirst))) return true;
  // Without its settings saved the user would not want the update to go on.
  if (backup_(link_, folder_, fileName) != 0) return false;
  view_.addToList(text(texts::kTextSettingsSavedIn) + fileName, true);
  return true;
}

int32_t FirmwareUpdate::identifyAndRestart(const std::string& settingsFile) {
  const buslink::BootImage& image = boot_.image();
  if (link_.openPort() != 0) {
    showError(texts::kTextCannotOpenPort);
    return texts::kTextCannotOpenPort;
  }
  link_.selectModule(image.family);
  link_.serialPort().setRts(1);
  link_.serialPort().setDtr(0);
  link_.checkLineIdle();
  uint16_t version = 0;
  if (const int32_t e = link_.readFirmwareVersion(version); e != 0) {
    link_.close();
    showError(e);
    return e;
  }
  if (imageKind(image) == 2) {
    boot_.moduleVersion() = static_cast<uint32_t>((version & 0x0FFF) << 8 | (version >> 12));
    uint16_t type = 0;
    int32_t e = link_.readTypeId(type);
    if (e == 0) {
      LinkBootPort port(boot_);
      e = selectSectionForType(boot_.image(), type, &port);
    }
    if (e != 0) {
      link_.close();
      showError(e);
      return e;
    }
    uint32_t serial = 0;
    for (uint8_t at = 0xFC; at != 0; ++at) {
      uint8_t b = 0;
      link_.readByte(at, b);  // errors leave 0 in the number
      serial = serial << 8 | b;
    }
    serial_ = serial;
    LogEntry entry;
    entry.serial = serial;
    entry.typeId = type;
    entry.presentVersion = boot_.moduleVersion();
    entry.newVersion = boot_.image().fileVersion;
    entry.time = platform::localTime();
    entry.settingsFile = settingsFile;
    appendLogLine(folder_, entry);
  }
  link_.close();

  if (const int32_t e = boot_.open9600(); e != 0) {
    showError(e);
    return e;
  }
  boot_.serialPort().setRts(1);
  boot_.serialPort().setDtr(0);
  boot_.serialPort().purgeReceive();
  if (const int32_t e = boot_.sendRestart(); e != 0) {
    boot_.close();
    showError(e);
    return e;
  }
  boot_.applyBaudRate();
  boot_.serialPort().setRts(1);
  boot_.serialPort().setDtr(0);
  if (boot_.waitForBootloader() != 0) {
    boot_.close();
    showError(texts::kTextComError);
    return texts::kTextComError;
  }
  startWorker();
  return 0;
}

void FirmwareUpdate::startWorker() {
  if (thread_.joinable()) thread_.join();
  workerIdle_ = false;
  thread_ = std::thread([this] { worker(); });
}

void FirmwareUpdate::worker() {
  platform::Clock& clock = boot_.clock();
  buslink::SerialPort& port = boot_.serialPort();
  std::atomic<int32_t>& state = boot_.state();
  for (;;) {
    if (!boot_.synchronised()) {
      bool announced = false;
      while (!announced) {
        while (state != BootLink::kStateRun && state != BootLink::kStateAbort) {
          clock.sleepMs(kPollMs);
        }
        uint8_t b = 0;
        const int32_t r = port.waitForByte(&b);
        if (state == BootLink::kStateAbort || r != 0 ||
            port.state() == buslink::SerialPort::kStateClosed) {
          workerIdle_ = true;
          return;
        }
        announced = b == kAnnounce;
      }
      boot_.detectEcho();
    }
    attempt();
    ++attemptsOver_;
    if (state == BootLink::kStateAbort) break;
    state = BootLink::kStateRun;
    if (boot_.synchronised()) {
      boot_.synchronised() = false;
      boot_.close();
      break;
    }
  }
  workerIdle_ = true;
}

void FirmwareUpdate::attempt() {
  std::atomic<int32_t>& state = boot_.state();
  for (int i = 0; i < kAttempts && state != BootLink::kStateFinished; ++i) {
    if (state == BootLink::kStateAbort) return;
    const int32_t version = boot_.readBootloaderVersion();
    if (version < 0) continue;
    if (version > 0) {
      view_.post({WorkerPost::kResult, texts::kTextWrongBootloaderVersion, version});
      state = BootLink::kStateFinished;
      break;
    }
    const int32_t id = boot_.readDeviceId();
    if (id < 0) {
      view_.post(
          {WorkerPost::kResult, texts::kTextWrongDeviceId, static_cast<int32_t>(boot_.deviceId())});
      continue;
    }
    if (id > 0) {
      view_.post({WorkerPost::kResult, texts::kTextWrongDeviceId, id});
      state = BootLink::kStateFinished;
      break;
    }
    boot_.readFirmwareNumber();
    // Waiting is set before the post: a window that answers at once must not
    // have its answer overwritten.
    state = BootLink::kStateWaitForWindow;
    view_.post({WorkerPost::kConfirm, 0, 0});
    while (state == BootLink::kStateWaitForWindow) boot_.clock().sleepMs(kPollMs);
    if (state == BootLink::kStateProgram) {
      const int32_t v = boot_.bootloaderVersion();
      const int32_t r = v >= 2 && v <= 5 ? boot_.programSimple() : boot_.programBlocks();
      if (state == BootLink::kStateAbort) return;
      view_.post({WorkerPost::kResult, r == 0 ? texts::kTextProgrammingDone : r, 0});
    }
    if (state == BootLink::kStateAbort) return;
    state = BootLink::kStateFinished;
    boot_.serialPort().purgeReceive();
  }
}

std::string FirmwareUpdate::confirmationLines() const {
  const buslink::BootImage& image = boot_.image();
  const uint32_t bl = static_cast<uint32_t>(boot_.bootloaderVersion());
  std::string lines = format("Bootloader: V%01x.%02x", (bl >> 8) & 0xFF, bl & 0xFF);
  lines += '\n';
  lines += format("Id: %04x", boot_.deviceId());
  lines += '\n';
  if (image.fileVersion == 0 || image.family == 0) {
    lines += format("Geräte-Firmware-Nr: %i", boot_.firmwareNumber());
    lines += '\n';
    lines += format("Software-Firmware-Nr: %i", be32(image.bytes, kRunningNumberAt));
  } else {
    const uint32_t m = boot_.moduleVersion();
    const uint32_t f = image.fileVersion;
    lines += format("Firmware Ist: V%02i.%02i.%02i", (m >> 16) & 0xFF, (m >> 8) & 0xFF, m & 0xFF);
    lines += '\n';
    lines += format("Firmware Neu: V%02i.%02i.%02i", (f >> 16) & 0xFF, (f >> 8) & 0xFF, f & 0xFF);
  }
  return lines;
}

bool FirmwareUpdate::fileIsOlder() const {
  const buslink::BootImage& image = boot_.image();
  if (image.fileVersion == 0 || image.family == 0) {
    return boot_.firmwareNumber() > be32(image.bytes, kRunningNumberAt);
  }
  return boot_.moduleVersion() > image.fileVersion;
}

std::string FirmwareUpdate::confirmationQuestion() const {
  if (!fileIsOlder()) return text(texts::kTextStartProgramming);
  std::string q = text(texts::kTextSoftwareOlder);
  q += '\n';
  q += text(texts::kTextProgramAnyway);
  return q;
}

bool FirmwareUpdate::ignitionCheckAsks() const {
  const buslink::BootImage& image = boot_.image();
  return image.family == kIgnitionFamily && major(boot_.moduleVersion()) <= 7 &&
         major(image.fileVersion) >= 8;
}

void FirmwareUpdate::handlePost(const WorkerPost& message) {
  std::atomic<int32_t>& state = boot_.state();
  if (message.kind == WorkerPost::kConfirm) {
    const std::string lines = confirmationLines();
    bool first = true;
    size_t start = 0;
    while (start <= lines.size()) {
      size_t end = lines.find('\n', start);
      if (end == std::string::npos) end = lines.size();
      view_.addToList(lines.substr(start, end - start), first);
      first = false;
      start = end + 1;
    }
    std::string question = lines;
    question += '\n';
    question += confirmationQuestion();
    const bool yes = view_.askYesNo(question) &&
                     (!ignitionCheckAsks() || view_.askYesNo(text(texts::kTextIgnitionCheck)));
    if (yes && state == BootLink::kStateWaitForWindow) {
      view_.openWaitWindow(boot_.image().progressSteps, texts::kTextFirmwareUpdateRunning);
      state = BootLink::kStateProgram;
    } else if (state == BootLink::kStateWaitForWindow) {
      state = BootLink::kStateRun;
    }
    return;
  }
  if (message.textId != texts::kTextSwitchModuleOffAndOn) view_.closeWaitWindow();
  lastResult_ = message.textId;
  std::string shown = text(message.textId);
  if (message.value != 0) shown += format("%x", static_cast<unsigned>(message.value));
  view_.addToList(shown, true);
  view_.showMessage(shown);
  if (message.textId == texts::kTextSwitchModuleOffAndOn &&
      state == BootLink::kStateWaitForWindow) {
    state = BootLink::kStateProgram;
  }
}

void FirmwareUpdate::close() {
  boot_.abort();
  if (thread_.joinable()) {
    while (workerRunning()) boot_.clock().sleepMs(kClosePollMs);
    thread_.join();
  }
  boot_.close();
}

void FirmwareUpdate::showError(int32_t textId) {
  view_.showMessage(text(textId));
}

}  // namespace firmware
