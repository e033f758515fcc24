#include "viewers/common/ui/uc_com.h"

#include <poll.h>

#include <QPointer>
#include <QSocketNotifier>

#include "viewers/common/line_settings.h"

namespace viewers {

namespace {

constexpr int kReadChunk = 4096;

// A write waits this long for room in a full output queue before the rest
// is dropped; the viewers send a few bytes at a time.
constexpr uint32_t kWriteWaitMs = 500;

}  // namespace

ucCOM::ucCOM(QObject* parent) : QObject(parent) {}

ucCOM::~ucCOM() {
  ClosePort();
}

std::vector<PortEntry> ucCOM::COMPortsErmitteln() const {
  return listComPorts();
}

bool ucCOM::Settings(const std::string& text) {
  std::optional<LineSettings> parsed = parseLineSettings(text);
  if (!parsed) return false;
  if (PortIsOpen() && parsed->baudRate != baudRate_ && !device_.setBaudRate(parsed->baudRate)) {
    return false;
  }
  settings_ = text;
  baudRate_ = parsed->baudRate;
  return true;
}

bool ucCOM::COMPort(const std::string& text) {
  int number = portNumberFromText(text);
  if (number < 1 || number > 99) return false;
  if (PortIsOpen()) return number == portNumber_;
  portNumber_ = number;
  if (!OpenPort()) return false;
  ClosePort();
  return true;
}

std::string ucCOM::GetCOMPort() const {
  return "COM" + std::to_string(portNumber_);
}

bool ucCOM::PortIsOpen() const {
  return device_.isOpen();
}

bool ucCOM::OpenPort() {
  if (PortIsOpen()) return true;
  if (!device_.openDevice(portNumber_)) return false;
  platform::SerialTimeouts timeouts;
  timeouts.writeConstant = kWriteWaitMs;
  if (!device_.applyLineSettings(baudRate_) || !device_.applyTimeouts(timeouts)) {
    device_.closeDevice();
    return false;
  }
  notifier_ = std::make_unique<QSocketNotifier>(device_.nativeHandle(), QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &ucCOM::readWaiting);
  return true;
}

void ucCOM::ClosePort() {
  // The notifier goes first: it must never watch a descriptor number that
  // the system may already have handed to someone else. It is deleted later
  // because this may run inside its own notification.
  if (notifier_) {
    notifier_->setEnabled(false);
    notifier_.release()->deleteLater();
  }
  device_.closeDevice();
}

void ucCOM::Send(const QByteArray& bytes) {
  if (!PortIsOpen() || bytes.isEmpty()) return;
  device_.write(reinterpret_cast<const uint8_t*>(bytes.constData()),
                static_cast<int>(bytes.size()));
}

// The device woke us but gave nothing: a hung-up line or a removed adapter
// keeps doing so, and leaving it open would wake this loop forever.
bool ucCOM::deviceGone() const {
  pollfd p{device_.nativeHandle(), POLLIN, 0};
  if (p.fd < 0) return true;
  if (::poll(&p, 1, 0) < 0) return false;
  return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void ucCOM::readWaiting() {
  QByteArray bytes;
  uint8_t chunk[kReadChunk];
  while (true) {
    int got = device_.read(chunk, kReadChunk);
    if (got > 0) bytes.append(reinterpret_cast<const char*>(chunk), got);
    if (got < kReadChunk) break;
  }
  if (bytes.isEmpty()) {
    if (!deviceGone()) return;
    ClosePort();
    emit ComEvent(kComEvCD);
    return;
  }
  // A handler may run the event loop (the viewers wait that way) or close
  // the port; no second notification may overtake this one meanwhile.
  QPointer<ucCOM> self(this);
  QSocketNotifier* notifier = notifier_.get();
  notifier->setEnabled(false);
  emit Receive(bytes);
  if (self && notifier_.get() == notifier) notifier->setEnabled(true);
}

}  // namespace viewers
