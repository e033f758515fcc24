#pragma once

#include <QByteArray>
#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "platform/termios_device.h"
#include "viewers/common/port_list.h"

class QSocketNotifier;

namespace viewers {

// The codes ComEvent carries; the numbers are those of the Windows port
// component, so a viewer's handler reads the same either way.
enum ComEventCode : int {
  kComEvCTS = 3,
  kComEvDSR = 4,
  kComEvCD = 5,  // carrier lost: the device hung up or vanished
  kComEvRing = 6,
  kComEventBreak = 1001,
  kComEventFrame = 1004,
  kComEventOverrun = 1006,
  kComEventRxOver = 1008,
  kComEventRxParity = 1009,
};

// The viewers' working port. It opens COM n through the same device layer,
// COM-number mapping and exclusive locks as every other link of the program,
// and reports arrivals from the event loop: a socket notifier on the device
// raises Receive with everything waiting, so nothing polls and nothing
// blocks the window thread.
//
// The port starts as COM1, "9600,n,8,1", closed. Failures never escape: the
// methods answer false (or nothing).
class ucCOM : public QObject {
  Q_OBJECT

 public:
  explicit ucCOM(QObject* parent = nullptr);
  ~ucCOM() override;

  // Every COM port of the PC that exists, free or busy, with its device.
  std::vector<PortEntry> COMPortsErmitteln() const;

  // "9600,n,8,1" or "38400,n,8,1"; an open port takes the new rate at once
  // (after the bytes already queued have left at the old one).
  bool Settings(const std::string& text);
  const std::string& settingsText() const { return settings_; }

  // "COM3" or "3": selects the port and tries it by opening and closing it.
  // A number outside 1-99 keeps the former port. While the port is open only
  // the open port itself can be selected.
  bool COMPort(const std::string& text);
  std::string GetCOMPort() const;
  int portNumber() const { return portNumber_; }

  bool PortIsOpen() const;
  bool OpenPort();
  void ClosePort();
  void Send(const QByteArray& bytes);

 signals:
  // Everything that was waiting, in arrival order, once per notification.
  void Receive(const QByteArray& bytes);
  // Any other notification of the port (see ComEventCode). A device that
  // hangs up or fails is closed before kComEvCD is raised.
  void ComEvent(int code);

 private:
  void readWaiting();
  bool deviceGone() const;

  platform::TermiosDevice device_;
  std::unique_ptr<QSocketNotifier> notifier_;
  int portNumber_ = 1;
  std::string settings_ = "9600,n,8,1";
  int baudRate_ = 9600;
};

}  // namespace viewers
