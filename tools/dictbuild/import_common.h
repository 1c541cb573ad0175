#pragma once
// What the importers of user dictionaries share: their result and the line-level limits.
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

// Without leading and trailing spaces and tabs.
std::string trimmed(const std::string& text);

// Literal "\n" sequences (and real line breaks) become "<br/>" lines.
std::vector<std::string> splitExplanation(const std::string& text);

}  // namespace quorvi::dictbuild
