// Words back into the learner's list: from a file this program exported (Anki's tab-separated
// text or CSV), Anki's own text export (its header lines name the separator, whether fields
// are HTML, and which columns hold the note type, deck, GUID and tags), a table with a header
// row, or a plain list, one word a line (a line may add a translation after a tab, comma or
// semicolon, and a number before). Words already there, or twice in the file, are skipped;
// so are words the dictionary lacks, when a check is given. A word in another letter case
// takes the dictionary's spelling.
#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "learner/file_problem.h"

namespace quorvi::learner {

class HeadwordSpellings;
class LearnerStore;

// How many of the words not found are named.
inline constexpr std::size_t kNamedUnknown = 20;

struct UnknownWord {
  std::string written;       // as the file has it (may hold control characters)
  std::string closeSpelling; // a headword spelled almost so; empty when none
};

struct ImportReport {
  std::vector<std::string> added;  // new words, in the file's order
  std::size_t alreadyThere = 0;    // saved before, or earlier in the same file
  std::size_t unknownCount = 0;    // no headword of the dictionary, or no word at all
  std::vector<UnknownWord> unknown;  // the first kNamedUnknown of those
};

struct ImportOptions {
  // The dictionary's headwords: a word must be one (in any letter case) and takes its
  // spelling; the unknown words named get a close spelling. Null: every word as written.
  const HeadwordSpellings* headwords = nullptr;
  std::function<void(double)> progress;  // the share of the file read, now and then
  const std::atomic<bool>* cancel = nullptr;
};

// The spellings one entry of a list may mean, the likeliest first ("cat\t猫": the whole line,
// then "cat").
struct ListEntry {
  std::string candidates[3];
  int count = 0;
  void add(std::string word);
};

// Calls `onEntry` with each entry of a list's text (UTF-8, LF line ends; see decodeText) and
// the offset after it; `onEntry` returns false to stop. Returns an empty string, or why the
// text cannot be read.
std::string forEachListEntry(std::string_view text,
                             const std::function<bool(const ListEntry&, std::size_t)>& onEntry);

// The likeliest word of each entry of a file's bytes, in order (decoded as decodeText does).
std::vector<std::string> wordsOfFile(std::string_view bytes, std::string& error);

// Adds the words of `entries` in one transaction. Returns an empty string, or the error (then
// nothing was added); "cancelled" when the learner stopped it.
std::string importEntries(LearnerStore& store, const std::vector<ListEntry>& entries,
                          const ImportOptions& options, ImportReport& report);
std::string importWords(LearnerStore& store, const std::vector<std::string>& words,
                        const ImportOptions& options, ImportReport& report);

// Reads `file` and imports its words. On error `problem` (may be null) gets its kind.
std::string importFile(LearnerStore& store, const std::filesystem::path& file,
                       const ImportOptions& options, ImportReport& report,
                       FileProblem* problem = nullptr);

// What importFile returns when options.cancel was set.
inline constexpr const char* kImportCancelled = "cancelled";

}  // namespace quorvi::learner
