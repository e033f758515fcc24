#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

extern char** environ;

namespace platform {

std::string siblingProgram(const std::string& name) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const std::filesystem::path dir = self.parent_path();
    for (const std::filesystem::path& candidate : {dir / name, dir.parent_path() / name / name}) {
      if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
  }
  return name;
}

bool startProgram(const std::string& program, const std::vector<std::string>& arguments,
                  std::string& why) {
  std::vector<std::string> args;
  args.push_back(program);
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  // A name without a slash is searched along PATH.
  const int e = posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (e != 0) {
    why = program;
    why += ": ";
    why += std::strerror(e);
    return false;
  }
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

}  // namespace platform
