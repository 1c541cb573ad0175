#include "bench/support/child_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>

extern char** environ;

namespace quorvi::bench {

std::optional<ChildRun> runChild(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int status = 0;
  rusage usage{};
  std::optional<ChildRun> run;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
      wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0)
    run = ChildRun{std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                   static_cast<double>(usage.ru_maxrss) / 1024.0};
  posix_spawn_file_actions_destroy(&actions);
  return run;
}

}  // namespace quorvi::bench
