#pragma once

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <QByteArray>
#include <filesystem>
#include <string>

#include "tests/support/ui_test_support.h"

namespace viewers_ui_test {

// A pseudo-terminal linked as COM n in the run's private COM-link folder;
// the test holds the master side and plays the bus adapter.
class PtyPort {
 public:
  explicit PtyPort(int portNumber)
      : link_(uitest::portsFolder() + "/com" + std::to_string(portNumber)) {
    char name[128] = {};
    int slave = -1;
    if (openpty(&master_, &slave, name, nullptr, nullptr) != 0) return;
    ::close(slave);  // the port under test opens it by name
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    std::filesystem::create_directories(uitest::portsFolder());
    std::error_code ec;
    std::filesystem::remove(link_, ec);
    std::filesystem::create_symlink(name, link_);
  }
  ~PtyPort() {
    hangUp();
    std::error_code ec;
    std::filesystem::remove(link_, ec);
  }
  PtyPort(const PtyPort&) = delete;
  PtyPort& operator=(const PtyPort&) = delete;

  bool ok() const { return master_ >= 0; }
  int master() const { return master_; }
  void write(const QByteArray& bytes) {
    ssize_t n = ::write(master_, bytes.constData(), static_cast<size_t>(bytes.size()));
    (void)n;
  }
  // What the port under test has sent so far.
  QByteArray readAll() {
    QByteArray bytes;
    char chunk[256];
    ssize_t n = 0;
    while ((n = ::read(master_, chunk, sizeof chunk)) > 0) bytes.append(chunk, n);
    return bytes;
  }
  // Closing the master hangs the line up, as an unplugged adapter does.
  void hangUp() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  std::string link_;
  int master_ = -1;
};

}  // namespace viewers_ui_test
