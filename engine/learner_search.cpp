#include "engine/learner_search.h"

#include <sqlite3.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iterator>
#include <thread>
#include <unordered_set>

#include "engine/closest_match.h"
#include "engine/learner_input.h"
#include "engine/dictionary_engine.h"
#include "engine/sound_code.h"
#include "engine/spelling_ranking.h"
#include "engine/spelling_rows.h"
#include "engine/unicode_text.h"

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

// How long a search for the nearest rows, when none is near enough, may take at most.
constexpr std::chrono::milliseconds kNearestAnywayTime{300};

// What a row found only by the American hearing of the text costs beyond its score: less
// than one sound heard as a near one.
constexpr std::uint32_t kAmericanHearingCost = 2;
// The most headwords a search takes from each reading beside the literal one.
constexpr std::size_t kGuessedReadingWords = 5;

// Each headword once, at its best row of `a` and `b` (each best first, each headword once in
// each), best first, at most `wanted`; of two rows of one headword that cost the same, a's.
// `b`, another reading's few words, is small; `a` may hold every headword: one pass over it.
ScoredRows cheaperOfEach(ScoredRows a, const ScoredRows& b, std::size_t wanted) {
  ScoredRows byHeadword = b;
  std::sort(byHeadword.begin(), byHeadword.end(),
            [](const ScoredRow& x, const ScoredRow& y) { return x.headword < y.headword; });
  std::vector<bool> bLoses(byHeadword.size(), false);
  const auto inB = [&](std::uint32_t headword) {
    const auto at =
        std::lower_bound(byHeadword.begin(), byHeadword.end(), headword,
                         [](const ScoredRow& row, std::uint32_t h) { return row.headword < h; });
    return at != byHeadword.end() && at->headword == headword ? at - byHeadword.begin() : -1;
  };
  std::erase_if(a, [&](const ScoredRow& row) {
    const std::ptrdiff_t other = inB(row.headword);
    if (other < 0) return false;
    const bool bCheaper = byHeadword[static_cast<std::size_t>(other)].key < row.key;
    bLoses[static_cast<std::size_t>(other)] = !bCheaper;
    return bCheaper;
  });
  ScoredRows fromB;
  for (const ScoredRow& row : b)
    if (!bLoses[static_cast<std::size_t>(inB(row.headword))]) fromB.push_back(row);
  // A key holds its row's number, so no two headwords' rows share one: merging by key is the
  // order.
  ScoredRows out;
  out.reserve(std::min(wanted, a.size() + fromB.size()));
  const auto byKey = [](const ScoredRow& x, const ScoredRow& y) { return x.key < y.key; };
  std::merge(a.begin(), a.end(), fromB.begin(), fromB.end(), std::back_inserter(out), byKey);
  if (out.size() > wanted) out.resize(wanted);
  return out;
}

// The rows of every reading of the text (the literal one, and the plain-keyboard or KK one),
// the cheaper reading winning for each headword; when none is near enough, the nearest rows
// anyway, all near-sound. False when a group cannot be read.
bool rankReadings(const quorvi::engine::RowStore& rows, const LearnerInput& input, int limitMode,
                  ScoredRows& ranked) {
  constexpr auto kTypingCap = LearnerSearch::kTypingCap;
  const std::size_t wanted = limitMode == 0 ? static_cast<std::size_t>(kTypingCap) : SIZE_MAX;
  // Each reading with what a row found by it costs beyond its score: the American hearing
  // is a guess about what was heard, so a row found as typed stays ahead of it.
  struct Reading {
    sound::TypedSounds sounds;
    std::uint32_t extra;
    bool guess;  // a reading beside the literal one
  };
  std::vector<Reading> readings;
  readings.push_back({sound::TypedSounds(sound::fromSymbols(input.symbols)), 0, false});
  if (!input.otherReading.empty())
    readings.push_back({sound::TypedSounds(sound::fromSymbols(input.otherReading)), 0, true});
  if (!input.americanReading.empty())
    readings.push_back({sound::TypedSounds(sound::fromSymbols(input.americanReading)),
                        kAmericanHearingCost, true});
  // A d between vowels may be a t: a row that has the d comes first.
  if (!input.flapReading.empty())
    readings.push_back({sound::TypedSounds(sound::fromSymbols(input.flapReading)),
                        2 * kAmericanHearingCost, true});
  // The rows of `query`, each its reading's cost added, merged into `ranked`.
  const auto rankReading = [&](SoundQuery& query, std::uint32_t extra, std::size_t keep) {
    // Rows of a later reading need only beat the worst of a full list.
    if (ranked.size() >= keep) {
      const auto worst = static_cast<std::uint32_t>(ranked.back().key >> 32);
      if (worst < extra) return true;
      query.scoreLimit = worst - extra;
    }
    ScoredRows found;
    if (!rankRows(rows, query, found)) return false;
    for (ScoredRow& row : found) row.key += std::uint64_t{extra} << 32;
    ranked = ranked.empty() ? std::move(found) : cheaperOfEach(std::move(ranked), found, keep);
    return true;
  };
  for (const Reading& reading : readings) {
    // A reading beside the literal one adds its best few words: wanting fewer, its search
    // stops sooner.
    SoundQuery query{reading.sounds, input.severalWords,
                     reading.guess ? std::min(wanted, kGuessedReadingWords) : wanted};
    if (!rankReading(query, reading.extra, wanted)) return false;
  }
  if (!ranked.empty()) return true;
  const auto deadline = std::chrono::steady_clock::now() + kNearestAnywayTime;
  for (const Reading& reading : readings) {
    // A text longer than any word is weighed by its first sounds: nothing is near it.
    if (reading.sounds.cut()) continue;
    SoundQuery query{reading.sounds, input.severalWords, static_cast<std::size_t>(kTypingCap)};
    query.nearestAnyway = true;
    query.deadline = deadline;
    if (!rankReading(query, reading.extra, static_cast<std::size_t>(kTypingCap))) return false;
  }
  for (ScoredRow& row : ranked) row.placeAndNear |= ScoredRow::kNearSound;
  return true;
}

// Blank as the toolkit trims text: ASCII white space and the other Unicode spaces.
bool isBlankText(const std::string& utf8) {
  for (const char32_t c : quorvi::engine::codePointsOfUtf8(utf8))
    if (!(c == U' ' || (c >= U'\t' && c <= U'\r') || c == 0x85 || c == 0xA0 || c == 0x1680 ||
          (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
          c == 0x205F || c == 0x3000))
      return false;
  return true;
}

SearchOutcome noMatchWhenEmpty(SearchOutcome outcome) {
  if (outcome.words.isEmpty() && outcome.reason == EmptyListReason::None)
    outcome.reason = EmptyListReason::NoMatch;
  return outcome;
}

}  // namespace

LearnerSearch::LearnerSearch(DictionaryEngine& dictionary) : dictionary_(dictionary) {}

LearnerSearch::~LearnerSearch() {
  readAhead_.stop();
  // Lists and the spelling worker may keep the store: it reads nothing more from the
  // dictionary, whose connection closes after this.
  if (store_) store_->close();
}

void LearnerSearch::prepareRows() {
  if (!dictionary_.isOpen()) return;
  readAhead_.start(store());
}

std::shared_ptr<const quorvi::engine::RowStore> LearnerSearch::store() {
  if (!storeOpened_) {
    storeOpened_ = true;
    store_ = quorvi::engine::RowStore::open(dictionary_.connection());
  }
  if (store_ && store_->failed()) {
    readAhead_.stop();
    store_->close();
    store_.reset();
  }
  return store_;
}

SearchOutcome LearnerSearch::bySound(const std::u16string& typed, int limitMode) {
  if (!dictionary_.isOpen()) return dictionaryNotOpen();
  const LearnerInput input = readLearnerInput(typed);
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
  if (const std::shared_ptr<const quorvi::engine::RowStore> rows = store()) {
    ScoredRows ranked;
    // A group that cannot be read leaves the store failed: the statement answers.
    if (rankReadings(*rows, input, limitMode, ranked)) {
      outcome.words = HeadwordList(rows);
      outcome.words.reserve(static_cast<HeadwordList::Index>(ranked.size()));
      outcome.nearSound.reserve(ranked.size());
      // The near-sound rows are marked one by one; those after the last row found as typed
      // are also set apart as a block.
      for (std::size_t i = 0; i < ranked.size(); ++i) {
        outcome.words.appendRow(ranked[i].place());
        outcome.nearSound.push_back(ranked[i].nearSound());
        if (!ranked[i].nearSound()) outcome.nearSoundFrom = static_cast<HeadwordList::Index>(i) + 1;
      }
      return noMatchWhenEmpty(std::move(outcome));
    }
  }
  return noMatchWhenEmpty(soundFromStatement(input.symbols, limitMode));
}

// Without the rows in memory: the engine's own search, in its order, which the outcome says.
SearchOutcome LearnerSearch::soundFromStatement(const std::u16string& symbols, int limitMode) {
  const std::vector<std::string> found = dictionary_.headwordsBySound(symbols, limitMode);
  SearchOutcome outcome;
  if (!dictionary_.lastError().empty()) outcome = queryStopped(dictionary_.lastError());
  // Without the module the statement fails and says so; with it, the rows answered unranked.
  outcome.incomplete = dictionary_.lastError().empty();
  // Each headword once, where it first came.
  std::unordered_set<std::string> seen;
  for (const std::string& word : found)
    if (seen.insert(word).second) outcome.words.append(word);
  outcome.nearSoundFrom = outcome.words.size();
  return outcome;
}

std::shared_ptr<const quorvi::engine::RowStore> LearnerSearch::spellingRows() {
  std::shared_ptr<const quorvi::engine::RowStore> rows = store();
  if (rows && !rows->readAll()) return store();  // null once a group is found damaged
  return rows;
}

SearchOutcome LearnerSearch::bySpelling(const std::string& utf8Pattern, int limitMode) {
  if (!dictionary_.isOpen()) return dictionaryNotOpen();
  if (isBlankText(utf8Pattern)) {
    SearchOutcome outcome;
    outcome.reason = EmptyListReason::NothingTyped;
    return outcome;
  }
  if (std::shared_ptr<const quorvi::engine::RowStore> rows = spellingRows())
    return *quorvi::engine::searchSpellingRows(std::move(rows), utf8Pattern,
                                               limitMode == 0 ? kTypingCap : -1);
  return spellingFromStatements(utf8Pattern, limitMode);
}

// Without the rows in memory: the engine's statements, ranked.
SearchOutcome LearnerSearch::spellingFromStatements(const std::string& utf8Pattern, int limitMode) {
  // Return ranks every match. Typing ranks the first 100 matches in the table's order and the
  // first 100 that match from the word's start (which holds the word itself and the words
  // starting with the pattern): both capped statements stay quick on a short pattern. Those
  // of the second not in the first come after all of the first in the table, so appending
  // them keeps the table's order.
  // Rows found before a stop are kept, with the reason, whichever statement stopped.
  SearchOutcome outcome;
  std::vector<std::string> found;
  SearchTimeLimit limit(dictionary_.connection());
  const auto run = [&](const std::string& statementPattern) {
    const std::vector<std::string> rows =
        dictionary_.headwordsBySpelling(statementPattern, limitMode);
    found.insert(found.end(), rows.begin(), rows.end());
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
  outcome.words = rankSpellingMatches(found, utf8Pattern, limitMode == 0 ? kTypingCap : -1);
  outcome.nearSoundFrom = outcome.words.size();
  return noMatchWhenEmpty(outcome);
}
