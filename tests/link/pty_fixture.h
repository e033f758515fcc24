#pragma once

#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

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

// Ends the test program when a blocking step outlives its bound: a wait that
// never ends then fails at once with its name instead of hanging the run
// until the test driver gives up on it.
class Watchdog {
 public:
  Watchdog(std::chrono::milliseconds bound, std::string what)
      : what_(std::move(what)), thread_([this, bound] { watch(bound); }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    woken_.notify_one();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  void watch(std::chrono::milliseconds bound) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (woken_.wait_for(lock, bound, [this] { return done_; })) return;
    std::fprintf(stderr, "FAILED: %s did not end within %lld ms\n", what_.c_str(),
                 static_cast<long long>(bound.count()));
    std::fflush(stderr);
    std::abort();
  }

  std::string what_;
  std::mutex mutex_;
  std::condition_variable woken_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace testing_support
