#include "learner/history.h"

#include <sqlite3.h>

#include <ctime>

#include "learner/learner_store.h"

namespace quorvi::learner {

std::string recordOpened(LearnerStore& store, const std::string& word, long long when) {
  if (word.empty()) return "no word to record";
  if (when == 0) when = static_cast<long long>(std::time(nullptr));
  return store.write([&](sqlite3* db) {
    Statement upsert(db,
                     "INSERT INTO history(word, last_opened, opened_count, sequence)"
                     " VALUES(?1, ?2, 1, (SELECT coalesce(max(sequence), 0) + 1 FROM history))"
                     " ON CONFLICT(word) DO UPDATE SET last_opened=excluded.last_opened,"
                     " opened_count=opened_count + 1, sequence=excluded.sequence");
    if (upsert.prepared() != SQLITE_OK) return upsert.prepared();
    return upsert.bind(1, word).bind(2, when).step();
  });
}

std::vector<HistoryItem> history(LearnerStore& store, size_t limit, std::string& error) {
  std::vector<HistoryItem> items;
  error.clear();
  if (!store.isOpen()) {
    error = store.error();
    return items;
  }
  Statement query(store.connection(),
                  "SELECT word, last_opened, opened_count FROM history"
                  " ORDER BY sequence DESC LIMIT ?1");
  query.bind(1, limit == 0 ? -1LL : static_cast<long long>(limit));
  int rc;
  while ((rc = query.step()) == SQLITE_ROW)
    items.push_back({query.text(0), query.integer(1), query.integer(2)});
  if (rc != SQLITE_DONE) {
    error = store.describe(rc);
    items.clear();
  }
  return items;
}

std::string clearHistory(LearnerStore& store) {
  return store.write([](sqlite3* db) {
    return sqlite3_exec(db, "DELETE FROM history", nullptr, nullptr, nullptr);
  });
}

}  // namespace quorvi::learner
