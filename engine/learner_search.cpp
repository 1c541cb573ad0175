#include "engine/learner_search.h"

#include <sqlite3.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

#include "engine/closest_match.h"
#include "engine/learner_input.h"
#include "engine/near_sound_match.h"
#include "engine/phonetic_dictionary.h"
#include "engine/sound_code.h"
#include "engine/sound_group_reader.h"
#include "engine/spelling_ranking.h"
#include "engine/spelling_rows.h"

namespace {

// Appends the headword rows of `ranked` in key order, each once, until `words` holds `limit`
// (-1: no limit). Only as much of the list is sorted as is read, none when `inOrder`.
void takeRanked(const SoundRows& rows, std::vector<RankedRow>& ranked, qsizetype limit,
                bool inOrder, std::vector<bool>& seen, HeadwordList& words) {
  const auto byKey = [](const RankedRow& a, const RankedRow& b) { return a.key < b.key; };
  size_t sorted = ranked.size();
  if (!inOrder && limit >= 0) {
    sorted = std::min(ranked.size(), static_cast<size_t>(limit) * 2 + 16);
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(sorted),
                      ranked.end(), byKey);
  } else if (!inOrder) {
    std::sort(ranked.begin(), ranked.end(), byKey);
  }
  const size_t wanted =
      limit >= 0 ? std::min(ranked.size(), static_cast<size_t>(limit)) : ranked.size();
  words.reserve(words.size() + static_cast<qsizetype>(wanted));
  for (size_t i = 0; i < ranked.size(); ++i) {
    if (limit >= 0 && words.size() >= limit) return;
    if (i == sorted) {
      std::sort(ranked.begin() + static_cast<std::ptrdiff_t>(i), ranked.end(), byKey);
      sorted = ranked.size();
    }
    const std::uint32_t headword = rows.headword(ranked[i].row);
    if (seen[headword]) continue;
    seen[headword] = true;
    words.appendRow(headword);
  }
}

// The typed sounds as the loose pattern's pieces of codes. Learners are seldom sure of a
// vowel's length: the pattern leaves the typed length out, and the ranking puts the rows with
// the typed length first.
std::vector<std::string> loosePieces(const std::u16string& symbols) {
  std::u16string shortSymbols = symbols;
  std::erase(shortSymbols, u'\u02D0');
  return patternPieces(PhoneticDictionary::buildPhoneticPattern(shortSymbols));
}

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

bool LearnerSearch::rowsReady() {
  if (rows_.loaded()) return true;
  // Like the engine's own index: the rows are read only with the REGEXP module loaded, so a
  // search without it fails as the engine's statement does.
  if (rowsFailed_ || !dictionary_.hasRegexp()) return false;
  std::shared_ptr<const PhoneticIndex> index = dictionary_.completeSearchIndex();
  rowsFailed_ = index == nullptr;
  if (!rowsFailed_) rows_ = SoundRows(std::move(index));
  return !rowsFailed_;
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
  if (limitMode == 0 && !rows_.loaded() && !dictionary_.searchIndexReadAhead()) {
    if (std::optional<SearchOutcome> fromGroups = soundFromGroups(input.symbols))
      return noMatchWhenEmpty(std::move(*fromGroups));
  }
  if (rowsReady()) {
    groups_.reset();
    return noMatchWhenEmpty(soundFromRows(input.symbols, limitMode));
  }
  return noMatchWhenEmpty(soundFromStatement(input.symbols, limitMode));
}

SearchOutcome LearnerSearch::soundFromRows(const std::u16string& symbols, int limitMode) {
  const std::string typedCodes = sound::fromSymbols(symbols);
  const std::vector<std::string> pieces = loosePieces(symbols);
  std::vector<bool> matched(rows_.size(), false);
  std::vector<RankedRow> ranked;
  const std::size_t enough = limitMode == 0 ? kTypingCap : SIZE_MAX;
  collectExactRows(rows_, pieces, typedCodes, enough, ranked, matched);

  SearchOutcome outcome;
  outcome.words = HeadwordList(rows_);
  std::vector<bool> seen(rows_.size(), false);
  takeRanked(rows_, ranked, limitMode == 0 ? kTypingCap : -1, true, seen, outcome.words);
  outcome.nearSoundFrom = outcome.words.size();
  if (outcome.words.size() < kTypingCap) {
    ranked.clear();
    collectNearSoundRows(rows_, typedCodes, matched, ranked);
    takeRanked(rows_, ranked, kTypingCap, false, seen, outcome.words);
  }
  return outcome;
}

std::optional<SearchOutcome> LearnerSearch::soundFromGroups(const std::u16string& symbols) {
  if (groupsFailed_ || !dictionary_.hasRegexp()) return std::nullopt;
  if (!groups_) {
    groups_ = std::make_unique<quorvi::engine::SoundGroupReader>();
    groupsFailed_ = !groups_->open(dictionary_.connection());
  }
  // Past a quarter of the rows, reading every row at once costs about as much and serves
  // every later search too.
  std::vector<RankedRow> ranked;
  if (!groupsFailed_)
    groupsFailed_ =
        !collectExactRows(*groups_, loosePieces(symbols), sound::fromSymbols(symbols),
                          static_cast<std::size_t>(kTypingCap), groups_->indexRows() / 4, ranked);
  if (groupsFailed_) {
    groups_.reset();
    return std::nullopt;
  }
  // The rows come in key order; each headword once, under the text of its first row.
  SearchOutcome outcome;
  std::vector<bool> seen(groups_->indexRows(), false);
  for (const RankedRow& match : ranked) {
    if (outcome.words.size() == kTypingCap) break;
    const auto [group, at] = groups_->findRead(match.row);
    if (group == nullptr) return std::nullopt;
    if (seen[group->headword(at)]) continue;
    seen[group->headword(at)] = true;
    const std::string_view caption = group->caption(at);
    outcome.words.append(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
  }
  if (outcome.words.size() < kTypingCap) {
    groups_.reset();  // the whole rows answer from here on
    return std::nullopt;
  }
  outcome.nearSoundFrom = outcome.words.size();
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
  // Like the rows of the search by sound: read only with the REGEXP module loaded, so a search
  // without it fails as the engine's statement does.
  if (spellingRows_ || spellingRowsFailed_ || !dictionary_.hasRegexp()) return spellingRows_;
  spellingRows_ = dictionary_.completeSearchIndex();
  spellingRowsFailed_ = spellingRows_ == nullptr;
  return spellingRows_;
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
