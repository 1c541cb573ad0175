// Running a program as a child process with a deadline, its output captured.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace quorvi::testing {

struct ChildRun {
  int exitCode = -1;  // -1: killed by a signal or by the deadline
  int signal = 0;
  bool timedOut = false;
  std::string out;
  std::string err;
  double seconds = 0;
};

// Runs `program` with `args` in `workingDirectory`, feeding it no input. A child still running
// after `deadline` is killed and reported as timed out.
ChildRun runChild(const std::string& program, const std::vector<std::string>& args,
                  const std::filesystem::path& workingDirectory,
                  std::chrono::seconds deadline = std::chrono::seconds(60));

}  // namespace quorvi::testing
