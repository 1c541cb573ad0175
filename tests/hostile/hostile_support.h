// Helpers for the hostile-input and concurrency tests: snapshots of a folder to prove nothing on
// disk changed, and a hang guard.
#pragma once

#include "tests/support/child_process.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorvi::testing {

// Every file and folder under `root` with its contents (files) or nothing (folders).
using FolderSnapshot = std::map<std::string, std::string>;
FolderSnapshot snapshotFolder(const std::filesystem::path& root);

// Lists what differs between two snapshots, one line per path; empty when they are equal.
std::string describeChanges(const FolderSnapshot& before, const FolderSnapshot& after);

// Aborts the process with `what` when it is still alive after `limit`: a hang becomes a failure
// with a name instead of a stalled test run.
class HangGuard {
 public:
  HangGuard(std::string what, std::chrono::seconds limit);
  ~HangGuard();
  HangGuard(const HangGuard&) = delete;
  HangGuard& operator=(const HangGuard&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread watcher_;
};

}  // namespace quorvi::testing
