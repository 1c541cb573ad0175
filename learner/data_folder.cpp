#include "learner/data_folder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
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

std::string makePrivateFolder(const fs::path& folder) {
  if (folder.empty())
    return "no folder for the learner's data (neither XDG_DATA_HOME nor HOME is set)";
  // The missing folders, deepest last.
  std::vector<fs::path> missing;
  for (fs::path p = folder; !p.empty(); p = p.parent_path()) {
    struct stat st {};
    if (stat(p.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) return p.string() + " is not a folder";
      break;
    }
    missing.push_back(p);
    if (p == p.parent_path()) break;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (mkdir(it->c_str(), 0700) != 0 && errno != EEXIST)
      return "cannot make the folder " + it->string() + ": " + std::strerror(errno);
  }
  return {};
}

}  // namespace quorvi::learner
