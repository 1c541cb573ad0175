#include "tests/hostile/hostile_support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

extern char** environ;

namespace fs = std::filesystem;

namespace quorvi::testing {

FolderSnapshot snapshotFolder(const fs::path& root) {
  FolderSnapshot snapshot;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    const std::string name = fs::relative(it->path(), root).string();
    if (it->is_regular_file()) {
      std::ifstream in(it->path(), std::ios::binary);
      std::stringstream contents;
      contents << in.rdbuf();
      snapshot[name] = contents.str();
    } else {
      snapshot[name + "/"] = "";
    }
  }
  return snapshot;
}

std::string describeChanges(const FolderSnapshot& before, const FolderSnapshot& after) {
  std::string changes;
  for (const auto& [name, contents] : before) {
    auto it = after.find(name);
    if (it == after.end())
      changes += "removed " + name + "\n";
    else if (it->second != contents)
      changes += "changed " + name + "\n";
  }
  for (const auto& [name, contents] : after)
    if (!before.contains(name)) changes += "added " + name + "\n";
  return changes;
}

HangGuard::HangGuard(std::string what, std::chrono::seconds limit)
    : watcher_([this, what = std::move(what), limit] {
        std::unique_lock lock(mutex_);
        if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
          std::fprintf(stderr, "hang: %s still running after %lld s\n", what.c_str(),
                       static_cast<long long>(limit.count()));
          std::abort();
        }
      }) {}

HangGuard::~HangGuard() {
  {
    std::lock_guard lock(mutex_);
    finished_ = true;
  }
  done_.notify_one();
  watcher_.join();
}

}  // namespace quorvi::testing
