#include "platform/termios_device.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/clock.h"
#include "platform/com_ports.h"

namespace platform {

namespace {

// Pseudo-terminals and some drivers do not support modem lines or serial
// info; for them such a request is a no-op, not an error.
bool notSupported(int err) {
  return err == ENOTTY || err == EINVAL || err == ENOTSUP || err == EOPNOTSUPP;
}

}  // namespace

unsigned baudConstant(int baudRate) {
  switch (baudRate) {
    case 300:
      return B300;
    case 600:
      return B600;
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    default:
      return 0;
  }
}

TermiosDevice::TermiosDevice() {
  wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

TermiosDevice::~TermiosDevice() {
  closeDevice();
  if (wakeFd_ >= 0) ::close(wakeFd_);
}

bool TermiosDevice::openDevice(int portNumber) {
  if (isOpen()) return false;
  std::string path = comDevicePath(portNumber);
  if (path.empty()) return false;
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  // Not shared: a device that another program holds (advisory lock, or the
  // exclusive bit it set) is busy, and nothing of it may be touched.
  int exclusive = 0;
  bool held = ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
  if (!isatty(fd) || held || flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  // Linux raises DTR and RTS on every open; the module's reset line must not
  // see a pulse, so both go down before anything else happens.
  if (!setModemBit(fd, TIOCM_DTR | TIOCM_RTS, false)) {
    flock(fd, LOCK_UN);
    ::close(fd);
    return false;
  }
  ioctl(fd, TIOCEXCL);
  requestLowLatency(fd, path.c_str());
  if (wakeFd_ >= 0) {
    uint64_t drain = 0;
    while (::read(wakeFd_, &drain, sizeof drain) > 0) {
    }
  }
  aborted_ = false;
  fd_ = fd;
  return true;
}

// USB serial adapters buffer received bytes for up to 16 ms by default; a
// stop-and-wait protocol of 4-byte frames would spend most of its time there.
void TermiosDevice::requestLowLatency(int fd, const char* path) {
  serial_struct info{};
  if (ioctl(fd, TIOCGSERIAL, &info) == 0 && !(info.flags & ASYNC_LOW_LATENCY)) {
    info.flags |= ASYNC_LOW_LATENCY;
    ioctl(fd, TIOCSSERIAL, &info);
  }
  char resolved[PATH_MAX];
  if (realpath(path, resolved) == nullptr) return;
  std::string name = resolved;
  name = name.substr(name.find_last_of('/') + 1);
  std::string timer = "/sys/class/tty/" + name + "/device/latency_timer";
  int timerFd = ::open(timer.c_str(), O_WRONLY | O_CLOEXEC);
  if (timerFd < 0) return;
  ssize_t written = ::write(timerFd, "1", 1);
  (void)written;
  ::close(timerFd);
}

void TermiosDevice::closeDevice() {
  abortRead();
  std::unique_lock<std::shared_mutex> lock(fdMutex_);
  int fd = fd_.exchange(-1);
  if (fd >= 0) {
    // A pseudo-terminal outlives our descriptor; its exclusive bit would
    // keep every later opener out.
    ioctl(fd, TIOCNXCL);
    flock(fd, LOCK_UN);
    ::close(fd);
  }
}

bool TermiosDevice::setBufferSizes(int receiveBytes, int transmitBytes) {
  // The tty layer's queues are fixed; they hold at least what the bus needs.
  return isOpen() && receiveBytes > 0 && transmitBytes > 0;
}

bool TermiosDevice::purge() {
  return isOpen() && tcflush(fd_, TCIOFLUSH) == 0;
}

bool TermiosDevice::purgeReceive() {
  return isOpen() && tcflush(fd_, TCIFLUSH) == 0;
}

bool TermiosDevice::applyTimeouts(const SerialTimeouts& timeouts) {
  if (!isOpen()) return false;
  readMultiplier_ = timeouts.readMultiplier;
  readConstant_ = timeouts.readConstant;
  writeMultiplier_ = timeouts.writeMultiplier;
  writeConstant_ = timeouts.writeConstant;
  return true;
}

bool TermiosDevice::applyLineSettings(int baudRate) {
  unsigned speed = baudConstant(baudRate);
  if (!isOpen() || speed == 0) return false;
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0) return false;
  tcflag_t parityCheck = tio.c_iflag & INPCK;
  cfmakeraw(&tio);
  tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK);
  tio.c_iflag |= parityCheck;
  tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  if (tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
  // Leaving B0 raises DTR and RTS again.
  return setModemBit(fd_, TIOCM_DTR | TIOCM_RTS, false);
}

bool TermiosDevice::setBaudRate(int baudRate) {
  unsigned speed = baudConstant(baudRate);
  if (!isOpen() || speed == 0) return false;
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0) return false;
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  // Bytes still queued go out at the rate they were meant for.
  return tcsetattr(fd_, TCSADRAIN, &tio) == 0;
}

bool TermiosDevice::setModemBit(int fd, int bits, bool on) {
  if (fd < 0) return false;
  if (ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0) return true;
  return notSupported(errno);
}

bool TermiosDevice::setRts(bool on) {
  return setModemBit(fd_, TIOCM_RTS, on);
}
bool TermiosDevice::setDtr(bool on) {
  return setModemBit(fd_, TIOCM_DTR, on);
}

int TermiosDevice::write(const uint8_t* data, int count) {
  std::shared_lock<std::shared_mutex> lock(fdMutex_);
  int fd = fd_;
  if (fd < 0 || count < 0) return -1;
  int64_t deadline =
      monotonicMicros() + (static_cast<int64_t>(writeMultiplier_) * count + writeConstant_) * 1000;
  int done = 0;
  while (done < count && !aborted_) {
    ssize_t n = ::write(fd, data + done, static_cast<size_t>(count - done));
    if (n > 0) {
      done += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return done > 0 ? done : -1;
    int64_t left = deadline - monotonicMicros();
    if (left <= 0) break;
    timespec ts{static_cast<time_t>(left / 1000000), static_cast<long>((left % 1000000) * 1000)};
    pollfd p[2] = {{fd, POLLOUT, 0}, {wakeFd_, POLLIN, 0}};
    if (ppoll(p, wakeFd_ >= 0 ? 2 : 1, &ts, nullptr) < 0 && errno != EINTR) break;
  }
  return done;
}

void TermiosDevice::waitQuiet(int64_t deadlineUs) {
  int64_t left = deadlineUs - monotonicMicros();
  if (left <= 0 || aborted_) return;
  timespec ts{static_cast<time_t>(left / 1000000), static_cast<long>((left % 1000000) * 1000)};
  pollfd p{wakeFd_, POLLIN, 0};
  ppoll(&p, wakeFd_ >= 0 ? 1 : 0, &ts, nullptr);
}

int TermiosDevice::read(uint8_t* buffer, int count) {
  std::shared_lock<std::shared_mutex> lock(fdMutex_);
  int fd = fd_;
  if (fd < 0 || count <= 0) return 0;
  int64_t deadline =
      monotonicMicros() + (static_cast<int64_t>(readMultiplier_) * count + readConstant_) * 1000;
  int got = 0;
  bool hungUp = false;
  while (got < count && !aborted_) {
    ssize_t n = ::read(fd, buffer + got, static_cast<size_t>(count - got));
    if (n > 0) {
      got += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    // A raw line with VMIN = VTIME = 0 reads 0 when it is quiet and also
    // after a hang-up; only poll tells them apart. A hung-up line or a
    // vanished adapter waits out the time-out like a quiet line instead of
    // returning at once into a caller's loop.
    if (hungUp || (n < 0 && errno != EAGAIN)) {
      waitQuiet(deadline);
      break;
    }
    int64_t left = deadline - monotonicMicros();
    if (left <= 0) break;
    timespec ts{static_cast<time_t>(left / 1000000), static_cast<long>((left % 1000000) * 1000)};
    pollfd p[2] = {{fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    int r = ppoll(p, wakeFd_ >= 0 ? 2 : 1, &ts, nullptr);
    if (r < 0 && errno != EINTR) break;
    if (r > 0 && (p[1].revents & POLLIN)) break;
    if (r > 0 && (p[0].revents & (POLLERR | POLLHUP | POLLNVAL))) hungUp = true;
  }
  return got;
}

void TermiosDevice::abortRead() {
  aborted_ = true;
  if (wakeFd_ >= 0) {
    uint64_t one = 1;
    ssize_t n = ::write(wakeFd_, &one, sizeof one);
    (void)n;
  }
}

}  // namespace platform
