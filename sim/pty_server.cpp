#include "sim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>

#include "platform/com_ports.h"
#include "sim/sim_device.h"

namespace sim {

namespace {

constexpr int64_t kMs = 1000000;

int64_t monoNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void sleepUntilNs(int64_t ns) {
  timespec ts{};
  ts.tv_sec = ns / 1000000000;
  ts.tv_nsec = ns % 1000000000;
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
  }
}

int speedToBaud(speed_t s) {
  struct Pair {
    speed_t speed;
    int baud;
  };
  static const Pair table[] = {
      {B50, 50},       {B75, 75},         {B110, 110},       {B134, 134},     {B150, 150},
      {B200, 200},     {B300, 300},       {B600, 600},       {B1200, 1200},   {B1800, 1800},
      {B2400, 2400},   {B4800, 4800},     {B9600, 9600},     {B19200, 19200}, {B38400, 38400},
      {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
  };
  for (const Pair& p : table) {
    if (p.speed == s) return p.baud;
  }
  return 9600;
}

std::string errnoText(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

bool makeFolders(const std::string& path, std::string& error) {
  for (size_t pos = 1; pos <= path.size(); ++pos) {
    if (pos != path.size() && path[pos] != '/') continue;
    const std::string part = path.substr(0, pos);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
      error = errnoText("cannot create " + part);
      return false;
    }
  }
  return true;
}

}  // namespace

PtyServer::PtyServer(Bus& bus, int comNumber, bool pace)
    : bus_(bus), com_(comNumber), pace_(pace) {}

PtyServer::~PtyServer() {
  removeLink();
  for (int fd : {master_, slave_, stopPipe_[0], stopPipe_[1]}) {
    if (fd >= 0) close(fd);
  }
}

bool PtyServer::start(std::string& error) {
  if (com_ < 1 || com_ > 99) {
    error = "COM number must be 1-99";
    return false;
  }
  if (pipe(stopPipe_) != 0) {
    error = errnoText("pipe");
    return false;
  }
  for (int fd : stopPipe_) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = errnoText("cannot create a pseudo-terminal");
    return false;
  }
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  const char* name = ptsname(master_);
  if (!name) {
    error = errnoText("ptsname");
    return false;
  }
  slavePath_ = name;
  slave_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) {
    error = errnoText("cannot open " + slavePath_);
    return false;
  }
  // Raw bytes both ways; the line discipline must neither echo nor translate.
  termios t{};
  tcgetattr(slave_, &t);
  t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
  t.c_oflag &= ~OPOST;
  t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~(CSIZE | PARENB | CSTOPB);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  cfsetispeed(&t, B9600);
  cfsetospeed(&t, B9600);
  if (tcsetattr(slave_, TCSANOW, &t) != 0) {
    error = errnoText("cannot set " + slavePath_ + " raw");
    return false;
  }
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);

  const std::string folder = platform::comLinkFolder();
  if (!makeFolders(folder, error)) return false;
  const std::string link = folder + "/com" + std::to_string(com_);
  struct stat st {};
  if (lstat(link.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      error = link + " exists and is not a link";
      return false;
    }
    struct stat target {};
    if (stat(link.c_str(), &target) == 0) {
      error = link + " already leads to a device (another simulator?); remove it first";
      return false;
    }
    unlink(link.c_str());  // left behind by a simulator that was killed
  }
  if (symlink(slavePath_.c_str(), link.c_str()) != 0) {
    error = errnoText("cannot create " + link);
    return false;
  }
  linkPath_ = link;
  startNs_ = monoNs();
  lineFreeNs_ = startNs_;
  return true;
}

void PtyServer::removeLink() {
  if (linkPath_.empty()) return;
  char target[4096];
  const ssize_t n = readlink(linkPath_.c_str(), target, sizeof target - 1);
  if (n >= 0 && std::string(target, static_cast<size_t>(n)) == slavePath_)
    unlink(linkPath_.c_str());
  linkPath_.clear();
}

void PtyServer::stop() {
  stopping_ = true;
  if (stopPipe_[1] >= 0) {
    const char c = 'x';
    [[maybe_unused]] ssize_t n = write(stopPipe_[1], &c, 1);
  }
}

int PtyServer::currentBaud() const {
  // On Linux the master reports the terminal settings the PC side made.
  termios t{};
  if (tcgetattr(master_, &t) != 0) return bus_.moduleBaud();
  return speedToBaud(cfgetospeed(&t));
}

int64_t PtyServer::frameByteNs(int baud) const {
  return pace_ ? byteTimeNs(baud) : 0;
}

void PtyServer::readInput() {
  uint8_t buf[512];
  const ssize_t n = read(master_, buf, sizeof buf);
  if (n <= 0) return;
  const int baud = currentBaud();
  const int64_t now = monoNs();
  for (ssize_t i = 0; i < n; ++i) input_.push_back({buf[i], baud, now});
}

void PtyServer::complete(const Action& a) {
  if (a.kind == Action::Kind::kReceive) {
    const bool hadOutput = bus_.hasOutput();
    bus_.receive(a.byte, a.baud, busUs(a.endNs));
    if (!hadOutput && bus_.hasOutput()) outputReadyNs_ = a.endNs;
  } else if (a.kind == Action::Kind::kSend) {
    // A PC that does not read loses what its buffer cannot hold.
    [[maybe_unused]] ssize_t n = write(master_, &a.byte, 1);
  }
}

void PtyServer::startNextAction(int64_t now) {
  Action a;
  int64_t start = 0;
  if (bus_.hasOutput()) {
    // Each byte holds the line for its own rate's time (the log stream runs
    // at 38 400 baud while frames go at 9600); a PC listening at another
    // rate than the byte's receives garbage, as from a real adapter.
    const int pcBaud = currentBaud();
    bus_.setPcBaud(pcBaud);
    const int sentAt = bus_.nextOutputBaud();
    a.kind = Action::Kind::kSend;
    a.baud = sentAt != 0 ? sentAt : pcBaud;
    a.byte = bus_.takeOutput();
    start = std::max(lineFreeNs_, outputReadyNs_);
    a.endNs = start + frameByteNs(a.baud);
  } else if (!input_.empty()) {
    const Arrival in = input_.front();
    input_.pop_front();
    a.kind = Action::Kind::kReceive;
    a.byte = in.byte;
    a.baud = in.baud;
    start = std::max(lineFreeNs_, in.atNs);
    a.endNs = start + frameByteNs(in.baud);
  } else if (bus_.lineBusy()) {
    // The foreign stream runs at the line's own speed, paced or not.
    a.kind = Action::Kind::kSend;
    a.baud = currentBaud();
    a.byte = bus_.nextStreamByte();
    const int64_t t = byteTimeNs(a.baud);
    start = std::max(lineFreeNs_, now - t);
    a.endNs = start + t;
  } else {
    return;
  }
  action_ = a;
}

void PtyServer::flushTranscript() {
  std::vector<TranscriptEntry> entries = bus_.takeTranscript();
  if (!sink_) return;
  for (const TranscriptEntry& e : entries) sink_(e);
}

void PtyServer::waitUntil(int64_t deadline) {
  pollfd fds[2] = {{master_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
  const int64_t now = monoNs();
  int timeoutMs = -1;
  // poll() counts in milliseconds; the last stretch is slept to the exact deadline.
  const bool finalStretch = deadline >= 0 && deadline - now < 2 * kMs;
  if (deadline >= 0) timeoutMs = finalStretch ? 0 : static_cast<int>((deadline - now) / kMs - 1);
  if (poll(fds, 2, timeoutMs) > 0) {
    if (fds[0].revents & POLLIN) {
      readInput();
    } else if (fds[0].revents & (POLLHUP | POLLERR)) {
      sleepUntilNs(monoNs() + 10 * kMs);  // nobody to talk to; do not spin
    }
    if (fds[1].revents & POLLIN) {
      char c[16];
      while (read(stopPipe_[0], c, sizeof c) > 0) {
      }
    }
  }
  if (finalStretch && deadline > now) sleepUntilNs(deadline);
}

void PtyServer::run() {
  while (!stopping_) {
    int64_t deadline = -1;
    {
      std::lock_guard lock(bus_.mutex());
      const int64_t now = monoNs();
      if (action_.kind != Action::Kind::kNone && now >= action_.endNs) {
        complete(action_);
        lineFreeNs_ = action_.endNs;
        action_ = Action();
      }
      const bool hadOutput = bus_.hasOutput();
      bus_.advanceTo(busUs(now));
      if (!hadOutput && bus_.hasOutput()) outputReadyNs_ = now;
      if (action_.kind == Action::Kind::kNone) startNextAction(now);
      flushTranscript();
      if (action_.kind != Action::Kind::kNone) {
        deadline = action_.endNs;
      } else if (std::optional<int64_t> next = bus_.nextEventUs()) {
        deadline = startNs_ + *next * 1000;
      }
    }
    if (deadline >= 0 && deadline <= monoNs()) {
      // Due already: only look for new input without waiting.
      pollfd fd{master_, POLLIN, 0};
      if (poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN)) readInput();
      continue;
    }
    waitUntil(deadline);
  }
}

}  // namespace sim
