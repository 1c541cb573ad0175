#include "learner/data_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace quorvi::learner {

fs::path learnerDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return fs::path(xdg) / "quorvi";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return fs::path(home) / ".local" / "share" / "quorvi";
  return {};
}

fs::path learnerDatabasePath() {
  const fs::path folder = learnerDataFolder();
  return folder.empty() ? fs::path() : folder / "learner.db";
}

std::string makePrivateFolder(const fs::path& folder, FileProblem* problem) {
  auto fail = [&](FileProblem kind, const std::string& text) {
    if (problem != nullptr) *problem = kind;
    return text;
  };
  if (problem != nullptr) *problem = FileProblem::kNone;
  if (folder.empty())
    return fail(FileProblem::kNoDataFolder, describeProblem(FileProblem::kNoDataFolder));
  // The missing folders, deepest last.
  std::vector<fs::path> missing;
  for (fs::path p = folder; !p.empty(); p = p.parent_path()) {
    struct stat st {};
    if (stat(p.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) return fail(FileProblem::kNotAFolder, p.string() + " is not a folder");
      break;
    }
    if (errno != ENOENT) {
      const FileProblem kind = problemOfErrno(errno);
      return fail(kind, "cannot use the folder " + p.string() + ": " + describeProblem(kind));
    }
    missing.push_back(p);
    if (p == p.parent_path()) break;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (mkdir(it->c_str(), 0700) != 0 && errno != EEXIST) {
      const FileProblem kind = problemOfErrno(errno);
      return fail(kind, "cannot make the folder " + it->string() + ": " + describeProblem(kind));
    }
  }
  return {};
}

namespace {

void withoutGroupAndOthers(const fs::path& path, bool folder) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return;
  if (folder ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode)) return;
  const mode_t kept = st.st_mode & (folder ? 0700 : 0600);
  if ((st.st_mode & 07777) != kept) chmod(path.c_str(), kept);
}

}  // namespace

void keepPrivate(const fs::path& folder, const fs::path& file) {
  withoutGroupAndOthers(folder, true);
  for (const char* suffix : {"", "-wal", "-shm"})
    withoutGroupAndOthers(file.string() + suffix, false);
}

FolderLock::FolderLock(const fs::path& folder, std::chrono::milliseconds patience) {
  fd_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) {
    problem_ = problemOfErrno(errno);
    return;
  }
  const auto start = std::chrono::steady_clock::now();
  for (int attempt = 0;; ++attempt) {
    if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      held_ = true;
      return;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) {
      problem_ = problemOfErrno(errno);
      return;
    }
    if (std::chrono::steady_clock::now() - start >= patience) {
      problem_ = FileProblem::kBusy;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(attempt < 20 ? 1 : 10));
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) close(fd_);  // closing the descriptor releases the lock
}

}  // namespace quorvi::learner
