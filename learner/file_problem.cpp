#include "learner/file_problem.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace quorvi::learner {

FileProblem problemOfErrno(int error) {
  switch (error) {
    case 0:
      return FileProblem::kNone;
    case ENOSPC:
    case EDQUOT:
      return FileProblem::kDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return FileProblem::kNoPermission;
    case ELOOP:
      return FileProblem::kLinkLoop;
    case ENOTDIR:
      return FileProblem::kNotAFolder;
    case EISDIR:
    case ENXIO:
    case ENODEV:
    case ETXTBSY:
      return FileProblem::kNotAFile;
    case EIO:
      return FileProblem::kDiskFailed;
    case ENOENT:
      return FileProblem::kMissing;
    case EBUSY:
    case EAGAIN:
      return FileProblem::kBusy;
    default:
      return FileProblem::kOther;
  }
}

std::string describeProblem(FileProblem problem, const std::string& detail) {
  std::string words;
  switch (problem) {
    case FileProblem::kNone:
      return detail;
    case FileProblem::kNoDataFolder:
      return "no folder for the learner's data (neither XDG_DATA_HOME nor HOME is set)";
    case FileProblem::kNotAFolder:
      words = "not a folder";
      break;
    case FileProblem::kNotAFile:
      words = "not a regular file";
      break;
    case FileProblem::kSymbolicLink:
      words = "a symbolic link, not the file itself";
      break;
    case FileProblem::kLinkLoop:
      words = "a loop of symbolic links";
      break;
    case FileProblem::kNoPermission:
      words = "no permission";
      break;
    case FileProblem::kDiskFull:
      words = "the disk is full";
      break;
    case FileProblem::kDiskFailed:
      words = "the disk failed";
      break;
    case FileProblem::kBusy:
      words = "another program kept it locked too long";
      break;
    case FileProblem::kNewerVersion:
      words = "it was written by a newer version of the program";
      break;
    case FileProblem::kDamaged:
      words = "it is damaged";
      break;
    case FileProblem::kMissing:
      words = "no such file";
      break;
    case FileProblem::kNotText:
      words = "not a text file";
      break;
    case FileProblem::kOther:
      return detail.empty() ? "it cannot be used" : detail;
  }
  return detail.empty() ? words : words + " (" + detail + ")";
}

FileProblem problemOfPath(const std::filesystem::path& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) return FileProblem::kNone;
  return problemOfErrno(errno);
}

}  // namespace quorvi::learner
