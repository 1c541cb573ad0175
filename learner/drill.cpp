#include "learner/drill.h"

#include <sqlite3.h>

#include <algorithm>
#include <ctime>
#include <set>
#include <tuple>

#include "learner/learner_store.h"

namespace quorvi::learner {
namespace {

const char kScoreColumns[] =
    "SELECT word, box, due_after, times_right, times_wrong, last_asked FROM drill_words";

DrillScore scoreOf(const Statement& row) {
  DrillScore score;
  score.word = row.text(0);
  score.box = static_cast<int>(std::clamp<long long>(row.integer(1), 1, kDrillBoxes));
  score.dueAfter = row.integer(2);
  score.right = row.integer(3);
  score.wrong = row.integer(4);
  score.lastAsked = row.integer(5);
  return score;
}

long long readQuestions(sqlite3* db) {
  Statement query(db, "SELECT questions FROM drill_progress WHERE id=1");
  return query.step() == SQLITE_ROW ? query.integer(0) : 0;
}

}  // namespace

long long questionsUntilDue(int box) {
  static constexpr long long kAfter[kDrillBoxes] = {2, 5, 12, 30, 80};
  return kAfter[std::clamp(box, 1, kDrillBoxes) - 1];
}

std::string recordAnswer(LearnerStore& store, const std::string& word, bool right,
                         const std::vector<Confusion>& heard, long long when, DrillScore* after) {
  if (word.empty()) return "an empty word cannot be drilled";
  if (when == 0) when = static_cast<long long>(std::time(nullptr));
  DrillScore written;
  const std::string error = store.write([&](sqlite3* db) {
    Statement count(db, "UPDATE drill_progress SET questions = questions + 1 WHERE id=1");
    int rc = count.step();
    if (rc != SQLITE_DONE) return rc;
    const long long questions = readQuestions(db);

    written.word = word;
    {
      Statement query(db,
                      "SELECT word, box, due_after, times_right, times_wrong, last_asked"
                      " FROM drill_words WHERE word=?1");
      query.bind(1, word);
      rc = query.step();
      if (rc == SQLITE_ROW)
        written = scoreOf(query);
      else if (rc != SQLITE_DONE)
        return rc;
    }
    const bool known = rc == SQLITE_ROW;
    if (right) {
      // A word answered right the first time goes up from box 1 as well.
      written.box = std::min(known ? written.box + 1 : 2, kDrillBoxes);
      ++written.right;
    } else {
      written.box = 1;
      ++written.wrong;
    }
    written.dueAfter = questions + questionsUntilDue(written.box);
    written.lastAsked = when;
    Statement upsert(db,
                     "INSERT INTO drill_words(word, box, due_after, times_right, times_wrong,"
                     " last_asked) VALUES(?1, ?2, ?3, ?4, ?5, ?6)"
                     " ON CONFLICT(word) DO UPDATE SET box=excluded.box,"
                     " due_after=excluded.due_after, times_right=excluded.times_right,"
                     " times_wrong=excluded.times_wrong, last_asked=excluded.last_asked");
    rc = upsert.bind(1, word)
             .bind(2, static_cast<long long>(written.box))
             .bind(3, written.dueAfter)
             .bind(4, written.right)
             .bind(5, written.wrong)
             .bind(6, written.lastAsked)
             .step();
    if (rc != SQLITE_DONE) return rc;

    Statement confusion(db,
                        "INSERT INTO drill_confusions(stored, heard, count) VALUES(?1, ?2, 1)"
                        " ON CONFLICT(stored, heard) DO UPDATE SET count = count + 1");
    if (confusion.prepared() != SQLITE_OK) return confusion.prepared();
    for (const Confusion& pair : heard) {
      if (pair.stored.empty() || pair.heard.empty() || pair.stored == pair.heard) continue;
      sqlite3_reset(confusion.get());
      rc = confusion.bind(1, pair.stored).bind(2, pair.heard).step();
      if (rc != SQLITE_DONE) return rc;
    }
    return SQLITE_OK;
  });
  if (error.empty() && after != nullptr) *after = written;
  return error;
}

long long questionsAsked(LearnerStore& store) {
  return store.isOpen() ? readQuestions(store.connection()) : 0;
}

std::optional<DrillScore> drillScore(LearnerStore& store, const std::string& word) {
  if (!store.isOpen()) return std::nullopt;
  Statement query(store.connection(), (std::string(kScoreColumns) + " WHERE word=?1").c_str());
  if (query.bind(1, word).step() != SQLITE_ROW) return std::nullopt;
  return scoreOf(query);
}

std::map<std::string, DrillScore> drillScores(LearnerStore& store, std::string& error) {
  std::map<std::string, DrillScore> scores;
  error.clear();
  if (!store.isOpen()) {
    error = store.error();
    return scores;
  }
  Statement query(store.connection(), kScoreColumns);
  int rc;
  while ((rc = query.step()) == SQLITE_ROW) {
    DrillScore score = scoreOf(query);
    scores.emplace(score.word, score);
  }
  if (rc != SQLITE_DONE) {
    error = store.describe(rc);
    scores.clear();
  }
  return scores;
}

std::vector<Confusion> commonConfusions(LearnerStore& store, std::size_t limit,
                                        std::string& error) {
  std::vector<Confusion> found;
  error.clear();
  if (!store.isOpen()) {
    error = store.error();
    return found;
  }
  Statement query(store.connection(),
                  "SELECT stored, heard, count FROM drill_confusions"
                  " ORDER BY count DESC, stored, heard LIMIT ?1");
  query.bind(1, static_cast<long long>(limit));
  int rc;
  while ((rc = query.step()) == SQLITE_ROW)
    found.push_back({query.text(0), query.text(1), query.integer(2)});
  if (rc != SQLITE_DONE) {
    error = store.describe(rc);
    found.clear();
  }
  return found;
}

std::string nextDrillWord(LearnerStore& store, const std::vector<std::string>& source,
                          std::mt19937& random, const std::string& previous, std::string& error) {
  error.clear();
  if (source.empty()) return {};
  const std::map<std::string, DrillScore> scores = drillScores(store, error);
  if (!error.empty()) return {};
  const long long questions = questionsAsked(store);

  // Each word once, in the source's order; `previous` only when it is the only one.
  std::vector<std::string> words;
  std::set<std::string> seen;
  for (const std::string& word : source)
    if (!word.empty() && word != previous && seen.insert(word).second) words.push_back(word);
  if (words.empty()) return previous;

  // (due after, box, place in the source) of the drilled words; the least is asked first.
  using Rank = std::tuple<long long, int, std::size_t>;
  std::optional<Rank> best;
  std::vector<std::size_t> fresh;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const auto found = scores.find(words[i]);
    if (found == scores.end()) {
      fresh.push_back(i);
      continue;
    }
    const Rank rank{found->second.dueAfter, found->second.box, i};
    if (!best || rank < *best) best = rank;
  }
  if (best && std::get<0>(*best) <= questions) return words[std::get<2>(*best)];
  if (!fresh.empty()) {
    std::uniform_int_distribution<std::size_t> pick(0, fresh.size() - 1);
    return words[fresh[pick(random)]];
  }
  return words[std::get<2>(*best)];
}

}  // namespace quorvi::learner
