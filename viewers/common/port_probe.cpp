#include "viewers/common/port_probe.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/com_ports.h"
#include "platform/termios_device.h"

namespace viewers {

namespace {

// The device did not open for us: find out whether someone holds it (its
// exclusive bit or its lock) or whether it is no usable port at all.
PortState whyRefused(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == EBUSY ? PortState::kBusy : PortState::kAbsent;
  PortState state = PortState::kAbsent;
  int exclusive = 0;
  if (!isatty(fd)) {
    state = PortState::kAbsent;
  } else if (ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0) {
    state = PortState::kBusy;
  } else if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    state = errno == EWOULDBLOCK ? PortState::kBusy : PortState::kAbsent;
  } else {
    flock(fd, LOCK_UN);
  }
  ::close(fd);
  return state;
}

}  // namespace

PortState probeComPort(int portNumber) {
  const std::string path = platform::comDevicePath(portNumber);
  if (path.empty()) return PortState::kAbsent;
  platform::TermiosDevice device;
  if (device.openDevice(portNumber)) {
    device.closeDevice();
    return PortState::kFree;
  }
  return whyRefused(path);
}

}  // namespace viewers
