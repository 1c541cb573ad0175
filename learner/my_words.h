// The learner's own words: added, removed, listed with when they were added and how often the
// learner opened them.
#pragma once

#include <string>
#include <vector>

namespace quorvi::learner {

class LearnerStore;

struct SavedWord {
  std::string word;
  long long added = 0;    // seconds since 1970, UTC
  long long lookups = 0;  // times opened, from the history
};

// Adds `word` (at `when`, 0: now); `added` tells whether it was new. Returns an empty string,
// or the error.
std::string addWord(LearnerStore& store, const std::string& word, bool* added = nullptr,
                    long long when = 0);

// Adds every word not there yet in one transaction: all or none. `added` receives the words
// that were new, in their order.
std::string addWords(LearnerStore& store, const std::vector<std::string>& words,
                     std::vector<std::string>& added, long long when = 0);

// Removes `word`; `removed` tells whether it was there.
std::string removeWord(LearnerStore& store, const std::string& word, bool* removed = nullptr);

bool containsWord(LearnerStore& store, const std::string& word);

// The saved words, newest first. Empty on error, with `error` set.
std::vector<SavedWord> savedWords(LearnerStore& store, std::string& error);

}  // namespace quorvi::learner
