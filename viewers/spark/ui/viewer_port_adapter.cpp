#include "viewers/spark/ui/viewer_port_adapter.h"

#include <QByteArray>
#include <QCoreApplication>

#include "viewers/common/ui/uc_com.h"

namespace spark {

bool ComViewerPort::Settings(const std::string& text) {
  return com_.Settings(text);
}

bool ComViewerPort::PortIsOpen() {
  return com_.PortIsOpen();
}

bool ComViewerPort::OpenPort() {
  return com_.OpenPort();
}

void ComViewerPort::ClosePort() {
  com_.ClosePort();
}

void ComViewerPort::Send(const std::vector<uint8_t>& bytes) {
  com_.Send(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<qsizetype>(bytes.size())));
}

void QtEventPump::letEventsRun() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace spark
