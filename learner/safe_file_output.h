// A file written whole or not at all, for exports a learner keeps: into a temporary file
// beside the target, renamed over it once complete. A symbolic link is written through to the
// file it names; anything but a regular file (a folder, a device, a FIFO, a socket) is
// refused. A new file gets the mode the umask gives, an existing one keeps its mode (and,
// where allowed, its owner). A temporary file left by a killed export is removed by the next
// export to the same folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "learner/file_problem.h"

namespace quorvi::learner {

// Writes `text` to `target`. Returns an empty string, or the error (its kind in `problem`);
// on error the target is as it was.
std::string writeWholeFile(const std::filesystem::path& target, std::string_view text,
                           FileProblem* problem = nullptr);

// Writes all of `text` to the open descriptor `fd`; false with errno set otherwise.
bool writeAll(int fd, std::string_view text);

}  // namespace quorvi::learner
