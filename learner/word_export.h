// The learner's words as a file: Anki's plain-text import (tab-separated, with its header
// lines: front = word and transcription, back = Chinese and the first sense, one tag a learner
// level) or RFC 4180 CSV with a header row, its cells inert in a spreadsheet.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "learner/my_words.h"
#include "learner/word_facts.h"

namespace quorvi::learner {

class LearnerStore;

enum class ExportFormat { kAnki, kCsv };

// The CSV header row's fields.
inline constexpr const char* kCsvColumns[] = {"word",   "transcription", "chinese", "first sense",
                                              "levels", "added",         "lookups"};

// The file's text for `words`; `facts` may be empty (then only the words and dates).
std::string exportText(const std::vector<SavedWord>& words, const FactsLookup& facts,
                       ExportFormat format);

// Writes the store's words to `file` whole or not at all (safe_file_output.h), or to
// standard output when `file` is "-". `count` receives the number of words written. Returns
// an empty string, or the error.
std::string exportWords(LearnerStore& store, const FactsLookup& facts, ExportFormat format,
                        const std::filesystem::path& file, size_t* count = nullptr);

// The name that means standard output.
inline constexpr const char* kStandardOutput = "-";

// "2026-03-01T08:30:00Z".
std::string utcTimeText(long long secondsSinceEpoch);

}  // namespace quorvi::learner
