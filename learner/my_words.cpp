#include "learner/my_words.h"

#include <sqlite3.h>

#include <ctime>

#include "learner/learner_store.h"

namespace quorvi::learner {
namespace {

const char kInsertSql[] =
    "INSERT INTO my_words(word, added, sequence)"
    " VALUES(?1, ?2, (SELECT coalesce(max(sequence), 0) + 1 FROM my_words))"
    " ON CONFLICT(word) DO NOTHING";

long long nowOr(long long when) {
  return when != 0 ? when : static_cast<long long>(std::time(nullptr));
}

}  // namespace

std::string addWord(LearnerStore& store, const std::string& word, bool* added, long long when) {
  std::vector<std::string> addedWords;
  const std::string error = addWords(store, {word}, addedWords, when);
  if (added != nullptr) *added = !addedWords.empty();
  return error;
}

std::string addWords(LearnerStore& store, const std::vector<std::string>& words,
                     std::vector<std::string>& added, long long when) {
  added.clear();
  for (const std::string& word : words)
    if (word.empty()) return "an empty word cannot be added";
  when = nowOr(when);
  std::vector<std::string> inserted;
  const std::string error = store.write([&](sqlite3* db) {
    Statement insert(db, kInsertSql);
    if (insert.prepared() != SQLITE_OK) return insert.prepared();
    for (const std::string& word : words) {
      sqlite3_reset(insert.get());
      const int rc = insert.bind(1, word).bind(2, when).step();
      if (rc != SQLITE_DONE) return rc;
      if (sqlite3_changes(db) > 0) inserted.push_back(word);
    }
    return SQLITE_OK;
  });
  if (error.empty()) added = std::move(inserted);
  return error;
}

std::string removeWord(LearnerStore& store, const std::string& word, bool* removed) {
  bool gone = false;
  const std::string error = store.write([&](sqlite3* db) {
    Statement remove(db, "DELETE FROM my_words WHERE word=?1");
    if (remove.prepared() != SQLITE_OK) return remove.prepared();
    const int rc = remove.bind(1, word).step();
    gone = rc == SQLITE_DONE && sqlite3_changes(db) > 0;
    return rc;
  });
  if (removed != nullptr) *removed = error.empty() && gone;
  return error;
}

bool containsWord(LearnerStore& store, const std::string& word) {
  if (!store.isOpen()) return false;
  Statement query(store.connection(), "SELECT 1 FROM my_words WHERE word=?1");
  return query.bind(1, word).step() == SQLITE_ROW;
}

std::vector<SavedWord> savedWords(LearnerStore& store, std::string& error) {
  std::vector<SavedWord> words;
  error.clear();
  if (!store.isOpen()) {
    error = store.error();
    return words;
  }
  Statement query(store.connection(),
                  "SELECT m.word, m.added, coalesce(h.opened_count, 0)"
                  " FROM my_words m LEFT JOIN history h ON h.word = m.word"
                  " ORDER BY m.sequence DESC");
  int rc;
  while ((rc = query.step()) == SQLITE_ROW)
    words.push_back({query.text(0), query.integer(1), query.integer(2)});
  if (rc != SQLITE_DONE) {
    error = store.describe(rc);
    words.clear();
  }
  return words;
}

}  // namespace quorvi::learner
