#pragma once

// tunvexa-sim as a child process of a benchmark: paced like a real line, on
// a pseudo-terminal linked as COM `com`, its standard output readable through
// `output` (the "ready" line comes first).
#include <spawn.h>
#include <stdio.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace bench_support {

// An empty scenario file name: the simulator's default bus. -1 on failure.
inline pid_t startSimulator(int com, const std::string& scenarioFile, FILE** output,
                            const std::vector<std::string>& extra = {}) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  std::string sim = std::string(TUNVEXA_BIN_DIR) + "/tunvexa-sim/tunvexa-sim";
  std::vector<std::string> args = {sim, "--com", std::to_string(com), "--pace"};
  if (!scenarioFile.empty()) {
    args.push_back("--scenario");
    args.push_back(scenarioFile);
  }
  args.insert(args.end(), extra.begin(), extra.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  pid_t pid = -1;
  if (posix_spawn(&pid, sim.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  *output = fdopen(fds[0], "r");
  return pid;
}

}  // namespace bench_support
