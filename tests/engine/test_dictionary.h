// Small keyed dictionaries and runtime folders for tests.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temporary_folder.h"

namespace quorvi::testing {

inline constexpr char kDictionaryPassphrase[] = "harbor_lanternfish_sonatina";

// One row of dict_word, UTF-8; nullopt stores NULL. `american`, when a row of the dictionary
// has one, is stored in the columns the builder adds beside the specified ones.
struct DictionaryRow {
  std::optional<std::string> caption;
  std::optional<std::string> phonetic;
  std::optional<std::string> explain;
  std::optional<std::string> american = std::nullopt;
};

// A few entries in the stored notation, "example" and "exampling" first.
std::vector<DictionaryRow> sampleRows();

// Writes a dictionary encrypted under `passphrase` (table dict_word, rows in the given order)
// at `path`, replacing any file there. Returns an empty string, or what went wrong.
std::string writeDictionary(const std::filesystem::path& path,
                            const std::vector<DictionaryRow>& rows,
                            const std::string& passphrase = kDictionaryPassphrase);

// Lays out `folder` as the program's working directory: folder/dict/words.db holding `rows`
// and, when `withRegexp` is set, folder/regexp.dll. Engines of this process constructed from
// now on take `folder` for the program's own folder, whose regexp.dll they load (see
// PhoneticDictionary::setModuleFolder). Returns an empty string, or the error.
std::string layOutRuntimeFolder(const std::filesystem::path& folder,
                                const std::vector<DictionaryRow>& rows, bool withRegexp = true);

// The REGEXP module the build produced.
std::filesystem::path regexpModulePath();

}  // namespace quorvi::testing
