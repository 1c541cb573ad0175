// Where the learner's data lives: $XDG_DATA_HOME/quorvi/, or ~/.local/share/quorvi/ when
// XDG_DATA_HOME is unset, empty or not absolute. The folder and the files in it are the
// learner's alone: the folder 0700, the files 0600.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

#include "learner/file_problem.h"

namespace quorvi::learner {

// The folder, from the environment; empty when neither XDG_DATA_HOME nor HOME is usable.
std::filesystem::path learnerDataFolder();

// The database file inside it (learner.db); empty when the folder is unknown.
std::filesystem::path learnerDatabasePath();

// Makes `folder` and its missing parents, each new one with mode 0700. Returns an empty
// string, or what went wrong (its kind in `problem`).
std::string makePrivateFolder(const std::filesystem::path& folder, FileProblem* problem = nullptr);

// Takes group and other permissions away from `folder` and from `file` and its -wal and -shm
// files, whatever modes they had; what cannot be changed is left as it is.
void keepPrivate(const std::filesystem::path& folder, const std::filesystem::path& file);

// An exclusive lock on a folder, held by one program at a time (and by one holder within a
// program): the learner's store takes it to make a fresh file or to set a damaged one aside.
// Waits at most `patience` for another holder; released when it goes out of scope.
class FolderLock {
 public:
  FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds patience);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  bool held() const { return held_; }
  // Why it is not held (kBusy when the wait ran out).
  FileProblem problem() const { return problem_; }

 private:
  int fd_ = -1;
  bool held_ = false;
  FileProblem problem_ = FileProblem::kNone;
};

}  // namespace quorvi::learner
