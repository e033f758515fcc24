#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace e2e {

inline std::string binary(const std::string& name) {
  return std::string(TUNVEXA_BIN_DIR) + "/" + name + "/" + name;
}

// A private XDG_CONFIG_HOME (for the COM links and the settings file) that is
// removed again at the end.
class TempConfig {
 public:
  TempConfig() {
    char base[] = "/tmp/tunvexa-e2e-XXXXXX";
    folder_ = mkdtemp(base);
    setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
  }
  ~TempConfig() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};

// tunvexa-sim on COM n, running until the object goes away.
class Simulator {
 public:
  Simulator(int com, std::vector<std::string> extra = {}) {
    int fds[2];
    if (pipe(fds) != 0) return;
    std::vector<std::string> args = {binary("tunvexa-sim"), "--com", std::to_string(com)};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out_ = fdopen(fds[0], "r");
    char line[256] = {};
    if (out_ != nullptr && std::fgets(line, sizeof line, out_) != nullptr) ready_ = line;
  }
  ~Simulator() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ != nullptr) std::fclose(out_);
  }
  const std::string& readyLine() const { return ready_; }

 private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
  std::string ready_;
};

struct Result {
  int status = -1;
  std::string out;
};

// Runs a command line through the shell and collects its standard output.
inline Result run(const std::string& command) {
  Result r;
  FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return r;
  char buf[4096];
  size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int status = pclose(p);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace e2e
