#include "viewers/trigger/uc_zuend.h"

#include <algorithm>
#include <string>

#include "viewers/common/err_log.h"

namespace trigger {

namespace {

struct CommandRow {
  uint8_t b0, b1, b2;
  int expected;  // byte 0 of the answer; -1: any
};

// Commands 1-13: serial number bytes, version, type, the trigger
// configuration cells, and the switch into the oscilloscope mode.
constexpr CommandRow kCommands[kCommandCount] = {
    {0xE2, 0xFC, 0, 0xE2},  {0xE2, 0xFD, 0, 0xE2}, {0xE2, 0xFE, 0, 0xE2}, {0xE2, 0xFF, 0, 0xE2},
    {0xE1, 0, 0, 0xE1},     {0xE0, 0, 0, 0xE0},    {0xE2, 1, 0, 0xE2},    {0xE2, 2, 0, 0xE2},
    {0xE2, 99, 0, 0xE2},    {0xE2, 100, 0, 0xE2},  {0xE2, 6, 0, 0xE2},    {0xE2, 135, 0, 0xE2},
    {0xEE, 0x20, 0x35, -1},
};

const CommandRow& row(int command) {
  return kCommands[command - 1];
}

}  // namespace

std::array<uint8_t, 4> commandFrame(int command) {
  const CommandRow& r = row(command);
  return {r.b0, r.b1, r.b2, static_cast<uint8_t>(0x5A ^ r.b0 ^ r.b1 ^ r.b2)};
}

ucZuend::ucZuend(spark::ViewerPort& port, spark::EventPump& pump, Recording& recording,
                 viewers::CErrLog* log)
    : port_(port), pump_(pump), recording_(recording), log_(log) {}

void ucZuend::log(const std::string& text) {
  if (log_) log_->AddLog(text);
}

bool ucZuend::GetModulInfo() {
  for (int command = 1; command <= 12; ++command) {
    if (!SendData(command)) return false;
  }
  modInfoOk_ = true;
  monitorRunning_ = true;
  monitorStart_ = pump_.nowMicros();
  return true;
}

void ucZuend::OszimodeAktivieren() {
  if (modInfoOk_) SendData(kOsziCommand);
}

void ucZuend::Abbruch() {
  abort_ = true;
  Reset();
}

void ucZuend::Reset() {
  modInfoOk_ = false;
  values_ = ModuleValues{};
  ignore_ = false;
  monitorRunning_ = false;
  datenempfangOszimode_ = false;
}

void ucZuend::monitorTick() {
  if (!monitorRunning_) return;
  const int64_t now = pump_.nowMicros();
  if (now - monitorStart_ < kMonitorMicros) return;
  // The timer runs on: the switch command is repeated every 500 ms until
  // decoded frames restart it.
  monitorStart_ = now;
  OszimodeAktivieren();
  datenempfangOszimode_ = false;
}

bool ucZuend::SendData(int command) {
  if (command < 1 || command > kCommandCount) {
    std::string text = "SendData: Unbekannter Befehl: ";
    text += std::to_string(command);
    log(text);
    return false;
  }
  abort_ = false;
  sendenAktiv_ = true;
  activeCommand_ = command;
  const std::array<uint8_t, 4> frame = commandFrame(command);
  sendBuffer_.assign(frame.begin(), frame.end());
  port_.Send(sendBuffer_);
  const int64_t start = pump_.nowMicros();
  bool result = false;
  for (;;) {
    pump_.letEventsRun();
    if (pump_.nowMicros() - start > kAnswerTimeoutMicros || abort_) break;
    if (activeCommand_ == 0) {
      result = true;
      break;
    }
  }
  sendenAktiv_ = false;
  return result;
}

void ucZuend::takeAnswer(const uint8_t* d) {
  switch (activeCommand_) {
    case 1:
      values_.ModSerienNr = hexFirst(d[2]);
      break;
    case 2:
    case 3:
    case 4:
      values_.ModSerienNr += hexTwoDigits(d[2]);
      break;
    case 5:
      values_.ModVersion = versionFromAnswer(d[1], d[2]);
      break;
    case 6:
      values_.setModTypNr(d[1]);
      break;
    case 7:
      values_.ModZylinder = d[2];
      break;
    case 8:
      values_.ModTakte = d[2];
      break;
    case 9:
      values_.ModKwZaehne = d[2];
      break;
    case 10:
      values_.ModKwLuecke = d[2];
      break;
    case 11:
      values_.ModZylinder1 = (d[2] >> 4) & 1;
      values_.ModLeertakt = (d[2] >> 5) & 1;
      break;
    case 12:
      values_.ModKwGeber = (d[2] >> 1) & 1;
      break;
    default:
      break;
  }
}

void ucZuend::ucCOM_Receive(const uint8_t* bytes, size_t count) {
  if (log_) log_->FunktionsName("ucCOM_Receive");
  if (ignore_) {
    receiveBuffer_.clear();
    return;
  }
  receiveBuffer_.insert(receiveBuffer_.end(), bytes, bytes + count);
  size_t pos = 0;
  while (receiveBuffer_.size() - pos >= 4) {
    const uint8_t* d = receiveBuffer_.data() + pos;
    if (d[0] < 0xE0 || d[0] > 0xEF || (0x5A ^ d[0] ^ d[1] ^ d[2] ^ d[3]) != 0) {
      ++pos;
      log("Pr\xC3\xBC"
          "fsumme falsch.");
      continue;
    }
    if (!sendBuffer_.empty()) {
      const bool same = std::equal(sendBuffer_.begin(), sendBuffer_.end(), d);
      sendBuffer_.clear();
      if (!same) {
        log("Fehler beim Daten senden -> RecBuf/SendBuf ungleich");
        receiveBuffer_.clear();
        pos = 0;
        abort_ = true;
        break;
      }
      pos += 4;
      continue;
    }
    pos += 4;
    if (!modInfoOk_ && activeCommand_ != 0) {
      const int expected = row(activeCommand_).expected;
      if (expected >= 0 && d[0] != expected) {
        std::string text = "Falsche Daten empfangen: AktiverBefehl=";
        text += std::to_string(activeCommand_);
        text += " d(0)=";
        text += std::to_string(d[0]);
        log(text);
        activeCommand_ = 0;
        continue;
      }
      takeAnswer(d);
    }
    if (d[0] == kOsciFrameStart && modInfoOk_) {
      monitorStart_ = pump_.nowMicros();
      datenempfangOszimode_ = true;
      recording_.appendBits(d[1], d[2]);
    }
    activeCommand_ = 0;
  }
  receiveBuffer_.erase(receiveBuffer_.begin(), receiveBuffer_.begin() + static_cast<long>(pos));
}

}  // namespace trigger
