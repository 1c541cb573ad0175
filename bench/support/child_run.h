#pragma once
// A program run as a child process with its output thrown away: its wall time and peak size.
#include <optional>
#include <string>
#include <vector>

namespace quorvi::bench {

struct ChildRun {
  double seconds = 0;
  double megabytes = 0;  // peak resident size
};

// Runs `args` (the program looked up on PATH when it names no folder) with standard output
// sent to /dev/null; nothing when it cannot be started or does not exit with 0.
std::optional<ChildRun> runChild(std::vector<std::string> args);

}  // namespace quorvi::bench
