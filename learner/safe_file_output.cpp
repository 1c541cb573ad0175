#include "learner/safe_file_output.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <optional>

namespace fs = std::filesystem;

namespace quorvi::learner {
namespace {

constexpr int kMostLinks = 40;  // as the kernel allows in one path
constexpr std::size_t kLongestStem = 200;
const std::string kPartMark = ".part-";

// The umask, read without changing it (changing it would race with other threads).
mode_t currentUmask() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("Umask:")) return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
  return 022;
}

std::string kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// The file `target` names after every symbolic link on the way is followed; errno set when
// there is none (ELOOP for a loop).
std::optional<fs::path> followLinks(fs::path target) {
  for (int links = 0; links <= kMostLinks; ++links) {
    struct stat st {};
    if (lstat(target.c_str(), &st) != 0) {
      if (errno == ENOENT) return target;
      return std::nullopt;
    }
    if (!S_ISLNK(st.st_mode)) return target;
    std::string named(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4095) + 1, '\0');
    const ssize_t length = readlink(target.c_str(), named.data(), named.size());
    if (length < 0) return std::nullopt;
    named.resize(static_cast<std::size_t>(length));
    const fs::path next(named);
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  errno = ELOOP;
  return std::nullopt;
}

// Temporary files of earlier exports to `target` whose writer is gone: it held a lock on
// each while it lived.
void removeLeftovers(const fs::path& folder, const std::string& prefix) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (!name.starts_with(prefix)) continue;
    const fs::path leftover = folder / name;
    const int fd = open(leftover.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
      unlink(leftover.c_str());
    close(fd);
  }
  closedir(dir);
}

std::string failure(FileProblem kind, const fs::path& target, FileProblem* problem,
                    const std::string& detail = {}) {
  if (problem != nullptr) *problem = kind;
  return "cannot write " + target.string() + ": " + describeProblem(kind, detail);
}

}  // namespace

bool writeAll(int fd, std::string_view text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string writeWholeFile(const fs::path& target, std::string_view text, FileProblem* problem) {
  if (problem != nullptr) *problem = FileProblem::kNone;
  const std::optional<fs::path> resolved = followLinks(target);
  if (!resolved) return failure(problemOfErrno(errno), target, problem);
  const fs::path file = *resolved;
  struct stat existing {};
  const bool exists = stat(file.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    if (problem != nullptr) *problem = FileProblem::kNotAFile;
    return "cannot write " + target.string() + ": it is " + kindOf(existing.st_mode) +
           ", not a regular file";
  }
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  std::string prefix(".");
  prefix.append(file.filename().string(), 0, kLongestStem);
  prefix.append(kPartMark);
  removeLeftovers(folder, prefix);

  std::string temporary = (folder / (prefix + "XXXXXX")).string();
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return failure(problemOfErrno(errno), target, problem);
  // Held while it is written: the next export knows a live one from a leftover.
  flock(fd, LOCK_EX | LOCK_NB);
  if (exists) {
    fchmod(fd, existing.st_mode & 07777);
    if (fchown(fd, existing.st_uid, existing.st_gid) != 0) {
      // Not allowed: the file becomes the writer's own, as any editor's save would.
    }
  } else {
    fchmod(fd, 0666 & ~currentUmask());
  }
  bool written = writeAll(fd, text) && fsync(fd) == 0;
  int why = errno;
  if (close(fd) != 0 && written) {
    written = false;
    why = errno;
  }
  if (written && rename(temporary.c_str(), file.c_str()) != 0) {
    written = false;
    why = errno;
  }
  if (!written) {
    unlink(temporary.c_str());
    return failure(problemOfErrno(why), target, problem);
  }
  // The new name on the disk too.
  if (const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dirFd >= 0) {
    fsync(dirFd);
    close(dirFd);
  }
  return {};
}

}  // namespace quorvi::learner
