// Small keyed dictionaries and runtime folders for tests.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorvi::testing {

inline constexpr char kDictionaryPassphrase[] = "harbor_lanternfish_sonatina";

// One row of dict_word, UTF-8; nullopt stores NULL.
struct DictionaryRow {
  std::optional<std::string> caption;
  std::optional<std::string> phonetic;
  std::optional<std::string> explain;
};

// A few entries in the stored notation, "example" and "exampling" first.
std::vector<DictionaryRow> sampleRows();

// Writes a dictionary encrypted under `passphrase` (table dict_word, rows in the given order)
// at `path`, replacing any file there. Returns an empty string, or what went wrong.
std::string writeDictionary(const std::filesystem::path& path,
                            const std::vector<DictionaryRow>& rows,
                            const std::string& passphrase = kDictionaryPassphrase);

// Lays out `folder` as the program's working directory: folder/dict/words.db holding `rows`
// and, when `withRegexp` is set, folder/regexp.dll. Returns an empty string, or the error.
std::string layOutRuntimeFolder(const std::filesystem::path& folder,
                                const std::vector<DictionaryRow>& rows, bool withRegexp = true);

// The REGEXP module the build produced.
std::filesystem::path regexpModulePath();

// A fresh folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

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
