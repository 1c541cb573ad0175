#include "tests/support/temporary_folder.h"

#include <stdlib.h>

#include <fstream>

namespace fs = std::filesystem;

namespace quorvi::testing {

std::string writeFile(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
  return path.string();
}

TemporaryFolder::TemporaryFolder() {
  std::string pattern = (fs::temp_directory_path() / "quorvi-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  if (!path_.empty()) fs::remove_all(path_, ignored);
}

WorkingDirectory::WorkingDirectory(const fs::path& folder) : previous_(fs::current_path()) {
  fs::current_path(folder);
}

WorkingDirectory::~WorkingDirectory() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}

}  // namespace quorvi::testing
