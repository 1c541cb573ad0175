#include "engine/learner_search.h"

#include <sqlite3.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

#include "engine/closest_match.h"
#include "engine/learner_input.h"
#include "engine/phonetic_dictionary.h"
#include "engine/sound_code.h"
#include "engine/spelling_ranking.h"
#include "engine/spelling_rows.h"

namespace {

// A search's processor time as a whole, whatever statements it runs: the REGEXP module bounds
// each statement to a second, and two statements of one search must not make two. Past the
// deadline the SQL engine interrupts the running statement. Other threads' statements on the
// connection (reading the search rows ahead) are left alone.
class SearchTimeLimit {
 public:
  static constexpr std::chrono::nanoseconds kLimit = std::chrono::seconds(1);

  explicit SearchTimeLimit(sqlite3* db)
      : db_(db), thread_(std::this_thread::get_id()), deadline_(threadCpuNs() + kLimit.count()) {
    sqlite3_progress_handler(db_, kCheckEvery, &SearchTimeLimit::check, this);
  }
  ~SearchTimeLimit() { sqlite3_progress_handler(db_, 0, nullptr, nullptr); }
  SearchTimeLimit(const SearchTimeLimit&) = delete;
  SearchTimeLimit& operator=(const SearchTimeLimit&) = delete;

  bool reached() const { return reached_; }

 private:
  static constexpr int kCheckEvery = 10000;  // virtual machine steps

  static std::int64_t threadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
  }
  static int check(void* data) {
    auto* limit = static_cast<SearchTimeLimit*>(data);
    if (std::this_thread::get_id() != limit->thread_) return 0;
    if (threadCpuNs() <= limit->deadline_) return 0;
    limit->reached_ = true;
    return 1;
  }

  sqlite3* db_;
  const std::thread::id thread_;
  const std::int64_t deadline_;
  bool reached_ = false;
};

SearchOutcome noMatchWhenEmpty(SearchOutcome outcome) {
  if (outcome.words.isEmpty() && outcome.reason == EmptyListReason::None)
    outcome.reason = EmptyListReason::NoMatch;
  return outcome;
}

}  // namespace

LearnerSearch::LearnerSearch(PhoneticDictionary& dictionary) : dictionary_(dictionary) {}

LearnerSearch::~LearnerSearch() = default;

void LearnerSearch::prepareRows() {
  dictionary_.prepareSearchIndex(true);
}

std::shared_ptr<const PhoneticIndex> LearnerSearch::rows() {
  // Like the engine's own index: the rows are read only with the REGEXP module loaded, so a
  // search without it fails as the engine's statement does.
  if (rows_ || rowsFailed_ || !dictionary_.hasRegexp()) return rows_;
  rows_ = dictionary_.completeSearchIndex();
  rowsFailed_ = rows_ == nullptr;
  return rows_;
}

SearchOutcome LearnerSearch::bySound(const QString& typed, int limitMode) {
  if (!dictionary_.isOpen()) return dictionaryNotOpen();
  const LearnerInput input = readLearnerInput(typed.toStdU16String());
  SearchOutcome outcome;
  if (input.errorPosition != 0) {
    outcome.reason = EmptyListReason::UnreadableText;
    outcome.position = input.errorPosition;
    outcome.character = input.errorCharacter;
    return outcome;
  }
  if (input.symbols.empty()) {
    outcome.reason = EmptyListReason::NothingTyped;
    return outcome;
  }
  // Until the rows read ahead are in, the typing path reads only the short rows it needs.
  if (limitMode == 0 && !rows_ && !dictionary_.searchIndexReadAhead()) {
    if (std::optional<SearchOutcome> fromGroups = soundFromGroups(input))
      return noMatchWhenEmpty(std::move(*fromGroups));
  }
  if (rows()) return noMatchWhenEmpty(soundFromRows(input, limitMode));
  return noMatchWhenEmpty(soundFromStatement(input.symbols, limitMode));
}

namespace {

// The near-sound rows are marked one by one; those after the last row found as typed are
// also set apart as a block.
void markNearSound(SearchOutcome& outcome, const std::vector<ScoredRow>& ranked) {
  outcome.nearSound.reserve(ranked.size());
  outcome.nearSoundFrom = 0;
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    outcome.nearSound.push_back(ranked[i].nearSound);
    if (!ranked[i].nearSound) outcome.nearSoundFrom = static_cast<qsizetype>(i) + 1;
  }
}

}  // namespace

SearchOutcome LearnerSearch::soundFromRows(const LearnerInput& input, int limitMode) {
  const sound::TypedSounds typed(sound::fromSymbols(input.symbols));
  const SoundRows rows(rows_);
  const std::vector<ScoredRow> ranked =
      rankRows(rows, {typed, input.severalWords,
                      limitMode == 0 ? static_cast<std::size_t>(kTypingCap) : SIZE_MAX});
  SearchOutcome outcome;
  outcome.words = HeadwordList(rows);
  outcome.words.reserve(static_cast<qsizetype>(ranked.size()));
  for (const ScoredRow& match : ranked) outcome.words.appendRow(match.headword);
  markNearSound(outcome, ranked);
  return outcome;
}

std::optional<SearchOutcome> LearnerSearch::soundFromGroups(const LearnerInput& input) {
  if (groupsFailed_ || !dictionary_.hasRegexp()) return std::nullopt;
  const std::shared_ptr<PhoneticIndex> index = dictionary_.partialSearchIndex();
  if (!index || !index->answersFromStoredGroups()) return std::nullopt;
  // Past a quarter of the rows, reading every row at once costs about as much and serves
  // every later search too.
  std::vector<ScoredRow> ranked;
  bool overBudget = false;
  const sound::TypedSounds typed(sound::fromSymbols(input.symbols));
  groupsFailed_ =
      !rankStoredRows(*index, {typed, input.severalWords, static_cast<std::size_t>(kTypingCap)},
                      index->rowCount() / 4, ranked, overBudget);
  // The whole rows answer from here on.
  if (groupsFailed_ || overBudget) return std::nullopt;
  // Each headword once, under the text of its best row.
  SearchOutcome outcome;
  for (const ScoredRow& match : ranked) {
    std::optional<QString> caption = index->readCaption(match.row);
    if (!caption) return std::nullopt;
    outcome.words.append(std::move(*caption));
  }
  markNearSound(outcome, ranked);
  return outcome;
}

// Without the rows in memory: the engine's own search, in its order, which the outcome says.
SearchOutcome LearnerSearch::soundFromStatement(const std::u16string& symbols, int limitMode) {
  dictionary_.searchByPhonetic(symbols, limitMode);
  SearchOutcome outcome;
  if (!dictionary_.lastError().empty()) outcome = queryStopped(dictionary_.lastError());
  // Without the module the statement fails and says so; with it, the rows answered unranked.
  outcome.incomplete = dictionary_.hasRegexp() && dictionary_.lastError().empty();
  QStringList found = dictionary_.getResults();
  found.removeDuplicates();
  outcome.words = std::move(found);
  outcome.nearSoundFrom = outcome.words.size();
  return outcome;
}

std::shared_ptr<const PhoneticIndex> LearnerSearch::spellingRows() {
  return rows();
}

SearchOutcome LearnerSearch::bySpelling(const std::string& utf8Pattern, int limitMode) {
  if (!dictionary_.isOpen()) return dictionaryNotOpen();
  if (QString::fromUtf8(utf8Pattern).trimmed().isEmpty()) {
    SearchOutcome outcome;
    outcome.reason = EmptyListReason::NothingTyped;
    return outcome;
  }
  if (std::shared_ptr<const PhoneticIndex> rows = spellingRows())
    return *quorvi::engine::searchSpellingRows(std::move(rows), utf8Pattern,
                                               limitMode == 0 ? kTypingCap : -1);
  return spellingFromStatements(utf8Pattern, limitMode);
}

// Without the rows in memory: the engine's statements, ranked.
SearchOutcome LearnerSearch::spellingFromStatements(const std::string& utf8Pattern, int limitMode) {
  const QString pattern = QString::fromUtf8(utf8Pattern);
  // Return ranks every match. Typing ranks the first 100 matches in the table's order and the
  // first 100 that match from the word's start (which holds the word itself and the words
  // starting with the pattern): both capped statements stay quick on a short pattern. Those
  // of the second not in the first come after all of the first in the table, so appending
  // them keeps the table's order.
  // Rows found before a stop are kept, with the reason, whichever statement stopped.
  SearchOutcome outcome;
  QStringList found;
  SearchTimeLimit limit(dictionary_.connection());
  const auto run = [&](const std::string& statementPattern) {
    dictionary_.searchByCaption(statementPattern, limitMode);
    found += dictionary_.getResults();
    if (dictionary_.lastError().empty()) return true;
    if (limit.reached()) {
      outcome.reason = EmptyListReason::BadPattern;
      outcome.message = "pattern too costly, the search used up its time of matching";
    } else {
      outcome = queryStopped(dictionary_.lastError());
    }
    return false;
  };
  if (run(utf8Pattern) && limitMode == 0) run("^(?:" + utf8Pattern + ")");
  outcome.words = rankSpellingMatches(found, pattern, limitMode == 0 ? kTypingCap : -1);
  outcome.nearSoundFrom = outcome.words.size();
  return noMatchWhenEmpty(outcome);
}
