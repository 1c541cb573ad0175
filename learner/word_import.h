// Words back into the learner's list: from a file this program exported (Anki's tab-separated
// text or CSV), or a plain list, one word a line. Words already there, or twice in the file,
// are skipped; so are words the dictionary lacks, when a check is given.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "learner/word_facts.h"

namespace quorvi::learner {

class LearnerStore;

struct ImportReport {
  std::vector<std::string> added;
  std::vector<std::string> alreadyThere;  // saved before, or earlier in the same file
  std::vector<std::string> unknown;       // no headword of the dictionary, or no word at all
};

// The words of a file's text, in order: the first field of each record of an Anki or CSV
// export (the front's transcription dropped, the CSV header row skipped), else each
// non-blank line. A byte-order mark, CRLF and surrounding blanks are dropped.
std::vector<std::string> wordsOfFile(std::string_view text, std::string& error);

// Adds `words` in one transaction. `check` (may be empty) gives the dictionary's spelling of
// each or rejects it. Returns an empty string, or the error (then nothing was added).
std::string importWords(LearnerStore& store, const std::vector<std::string>& words,
                        const HeadwordCheck& check, ImportReport& report);

// Reads `file` and imports its words.
std::string importFile(LearnerStore& store, const std::filesystem::path& file,
                       const HeadwordCheck& check, ImportReport& report);

}  // namespace quorvi::learner
