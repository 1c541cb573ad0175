// What the learner opened: one row a word with the last time and how often, newest first.
#pragma once

#include <string>
#include <vector>

namespace quorvi::learner {

class LearnerStore;

struct HistoryItem {
  std::string word;
  long long lastOpened = 0;  // seconds since 1970, UTC
  long long count = 0;
};

// Records that `word` was opened at `when` (seconds since 1970; 0: now). Returns an empty
// string, or the error.
std::string recordOpened(LearnerStore& store, const std::string& word, long long when = 0);

// The words opened, newest first; at most `limit` (0: all). Empty on error, with `error` set.
std::vector<HistoryItem> history(LearnerStore& store, size_t limit, std::string& error);

// Forgets the whole history. Returns an empty string, or the error.
std::string clearHistory(LearnerStore& store);

}  // namespace quorvi::learner
