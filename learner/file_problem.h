// Why a file of the learner's could not be used, as a kind the window can put in its own
// language and as plain English for the command line and the log.
#pragma once

#include <filesystem>
#include <string>

namespace quorvi::learner {

enum class FileProblem {
  kNone,
  kNoDataFolder,   // neither XDG_DATA_HOME nor HOME is set
  kNotAFolder,     // a file or something else where a folder should be
  kNotAFile,       // a folder, device, FIFO or socket where a regular file should be
  kSymbolicLink,   // a symbolic link where the learner's own file should be
  kLinkLoop,       // a loop of symbolic links
  kNoPermission,   // the system refuses (modes, a read-only file system)
  kDiskFull,       // no room left (or over quota)
  kDiskFailed,     // an input/output error
  kBusy,           // another program kept the data locked too long
  kNewerVersion,   // written by a newer version of the program
  kDamaged,        // damaged, and could not be set aside
  kMissing,        // no such file or folder
  kNotText,        // a word list that is no text
  kOther,
};

// The kind of an errno value from a failed system call on a file or folder.
FileProblem problemOfErrno(int error);

// A few English words for `problem` ("the disk is full"); `detail` is added in brackets when
// the kind alone says too little.
std::string describeProblem(FileProblem problem, const std::string& detail = {});

// What keeps `path` (or a folder on its way) from being used, from the file system as it is
// now: kMissing, kLinkLoop, kNotAFolder on the way, kNoPermission, or kNone.
FileProblem problemOfPath(const std::filesystem::path& path);

}  // namespace quorvi::learner
