#include "engine/learner_search.h"

#include <algorithm>
#include <cstdint>

#include "engine/closest_match.h"
#include "engine/learner_input.h"
#include "engine/phonetic_dictionary.h"
#include "engine/sound_code.h"
#include "engine/sound_group_reader.h"
#include "engine/spelling_ranking.h"

namespace {

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
    if (std::optional<SearchOutcome> fromGroups = soundFromGroups(input))
      return noMatchWhenEmpty(std::move(*fromGroups));
  }
  if (rowsReady()) {
    groups_.reset();
    return noMatchWhenEmpty(soundFromRows(input, limitMode));
  }
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
  const std::vector<ScoredRow> ranked =
      rankRows(rows_, {typed, input.severalWords,
                       limitMode == 0 ? static_cast<std::size_t>(kTypingCap) : SIZE_MAX});
  SearchOutcome outcome;
  outcome.words = HeadwordList(rows_);
  outcome.words.reserve(static_cast<qsizetype>(ranked.size()));
  for (const ScoredRow& match : ranked) outcome.words.appendRow(match.headword);
  markNearSound(outcome, ranked);
  return outcome;
}

std::optional<SearchOutcome> LearnerSearch::soundFromGroups(const LearnerInput& input) {
  if (groupsFailed_ || !dictionary_.hasRegexp()) return std::nullopt;
  if (!groups_) {
    groups_ = std::make_unique<quorvi::engine::SoundGroupReader>();
    groupsFailed_ = !groups_->open(dictionary_.connection());
  }
  // Past a quarter of the rows, reading every row at once costs about as much and serves
  // every later search too.
  std::vector<ScoredRow> ranked;
  bool overBudget = false;
  const sound::TypedSounds typed(sound::fromSymbols(input.symbols));
  if (!groupsFailed_)
    groupsFailed_ =
        !rankRows(*groups_, {typed, input.severalWords, static_cast<std::size_t>(kTypingCap)},
                  groups_->indexRows() / 4, ranked, overBudget);
  if (groupsFailed_ || overBudget) {
    groups_.reset();  // the whole rows answer from here on
    return std::nullopt;
  }
  // Each headword once, under the text of its best row.
  SearchOutcome outcome;
  for (const ScoredRow& match : ranked) {
    const auto [group, at] = groups_->findRead(match.row);
    if (group == nullptr) return std::nullopt;
    const std::string_view caption = group->caption(at);
    outcome.words.append(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
  }
  markNearSound(outcome, ranked);
  return outcome;
}

// Without the rows in memory: the engine's own search, in its order.
SearchOutcome LearnerSearch::soundFromStatement(const std::u16string& symbols, int limitMode) {
  dictionary_.searchByPhonetic(symbols, limitMode);
  SearchOutcome outcome;
  if (!dictionary_.lastError().empty()) outcome = queryStopped(dictionary_.lastError());
  QStringList found = dictionary_.getResults();
  found.removeDuplicates();
  outcome.words = std::move(found);
  outcome.nearSoundFrom = outcome.words.size();
  return outcome;
}

SearchOutcome LearnerSearch::bySpelling(const std::string& utf8Pattern, int limitMode) {
  if (!dictionary_.isOpen()) return dictionaryNotOpen();
  const QString pattern = QString::fromUtf8(utf8Pattern);
  if (pattern.trimmed().isEmpty()) {
    SearchOutcome outcome;
    outcome.reason = EmptyListReason::NothingTyped;
    return outcome;
  }
  // Return ranks every match. Typing ranks the first 100 matches in the table's order and the
  // first 100 that match from the word's start (which holds the word itself and the words
  // starting with the pattern): both capped statements stay quick on a short pattern. Those
  // of the second not in the first come after all of the first in the table, so appending
  // them keeps the table's order.
  dictionary_.searchByCaption(utf8Pattern, limitMode);
  // Rows found before a stop are kept, with the reason.
  SearchOutcome outcome;
  if (!dictionary_.lastError().empty()) outcome = queryStopped(dictionary_.lastError());
  QStringList found = dictionary_.getResults();
  if (limitMode == 0 && outcome.reason == EmptyListReason::None) {
    dictionary_.searchByCaption("^(?:" + utf8Pattern + ")", 0);
    if (dictionary_.lastError().empty()) found += dictionary_.getResults();
  }
  outcome.words = rankSpellingMatches(found, pattern, limitMode == 0 ? kTypingCap : -1);
  outcome.nearSoundFrom = outcome.words.size();
  return noMatchWhenEmpty(outcome);
}
