#pragma once

#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testing_support {

// A pseudo-terminal linked as COM n in a private XDG_CONFIG_HOME: the test
// holds the master side and plays whatever sits on the other end of the line.
class PtyComPort {
 public:
  explicit PtyComPort(int portNumber) {
    char base[] = "/tmp/tunvexa-pty-XXXXXX";
    folder_ = mkdtemp(base);
    setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
    std::filesystem::create_directories(folder_ + "/ZEB/ports");
    char name[128] = {};
    int slave = -1;
    if (openpty(&master_, &slave, name, nullptr, nullptr) == 0) {
      ::close(slave);  // the port under test opens it by name
      link(portNumber, name);
    }
  }
  ~PtyComPort() {
    if (master_ >= 0) ::close(master_);
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  void link(int portNumber, const std::string& target) {
    std::string path = folder_ + "/ZEB/ports/com" + std::to_string(portNumber);
    std::filesystem::remove(path);
    std::filesystem::create_symlink(target, path);
  }
  int master() const { return master_; }
  // Hands the master side to the caller (closing it hangs the line up).
  int releaseMaster() {
    int fd = master_;
    master_ = -1;
    return fd;
  }
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
  int master_ = -1;
};

}  // namespace testing_support
