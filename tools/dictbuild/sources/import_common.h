#pragma once
// What the importers of user dictionaries share: their result, the line-level limits and the
// helpers that read fields (defined in import_common.cpp).
#include <cstddef>
#include <string>
#include <vector>

#include "dict_entry.h"
#include "skip_report.h"

namespace quorvi::dictbuild {

inline constexpr size_t kMaxFieldBytes = 64 * 1024;     // one field
inline constexpr size_t kMaxRecordBytes = 1024 * 1024;  // one record, all fields
inline constexpr size_t kMaxCaptionBytes = 256;

struct ImportOptions {
  bool lenient = false;  // skip malformed lines (and report them) instead of stopping
};

struct ImportResult {
  std::vector<DictEntry> entries;
  std::string error;  // "file:line: what"; set when the import stopped
  bool ok() const { return error.empty(); }
};

class LineReader;

// False, with the import's error in `result`, when the file `reader` was opened on cannot be read.
bool readable(const LineReader& reader, const std::string& path, ImportResult& result);

// Why `caption` cannot be a headword ("empty headword", "headword too long"); nullptr when it can.
const char* headwordProblem(const std::string& caption);

// A malformed line at `where` ("file:line"): reported in `skipped` when `skippable` (a lenient
// import of a line it can step over), otherwise the import's error. True when the import goes on.
bool skipMalformedLine(const std::string& where, const std::string& error, bool skippable,
                       ImportResult& result, SkipReport& skipped);

// Without leading and trailing spaces and tabs.
std::string trimmed(const std::string& text);

// Pseudo-frequency of a corpus rank (1 = most frequent; 0 = unknown), on the scale of the
// WordNet tag counts the other rows are ranked by.
double frequencyOfRank(long rank);

// Literal "\n" sequences (and real line breaks) become "<br/>" lines.
std::vector<std::string> splitExplanation(const std::string& text);

}  // namespace quorvi::dictbuild
