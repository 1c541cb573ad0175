// Scratch folders for tests: a fresh temporary folder removed with everything in it, and the
// working directory changed for a scope.
#pragma once

#include <filesystem>
#include <string>

namespace quorvi::testing {

// Writes `content` to the file at `path`, making its folders first; returns the path.
std::string writeFile(const std::filesystem::path& path, const std::string& content);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the folder.
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  // Writes `content` to the file `name` inside the folder; returns its path.
  std::string write(const std::string& name, const std::string& content) const {
    return writeFile(path_ / name, content);
  }

 private:
  std::filesystem::path path_;
};

// Makes `folder` the working directory for its lifetime.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& folder);
  ~WorkingDirectory();
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace quorvi::testing
