#include "engine/closest_match.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <span>

#include "engine/sound_code.h"
#include "engine/sound_group_reader.h"
#include "engine/sound_rows.h"

namespace {

using sound::Cost;

// The prior: kPriorPerDoubling for every doubling of the row's place past kPriorRows, so the
// commonest words come first among rows as close, and a word deep in the table needs to be
// about one slip closer than the commonest to come before them. Names, numbers and phrases
// pay kNotPlainWord more unless the learner typed several words.
constexpr double kPriorPerDoubling = 1.5;
constexpr double kPriorRows = 64;
constexpr Cost kNotPlainWord = 4;
// A row that needs any slip at all, even a vowel's length, pays this beyond its cost: a row of
// exactly the typed sounds loses only to a word about ten times commoner (three doublings).
constexpr Cost kNotExact = 4;
// A row that does not hold the typed sounds in order is listed within this cost: half a plain
// edit and a tenth of one per typed sound, a few of the slips learners make most. (Wider
// listed no more of the words learners meant, and made every longer input weigh most rows.)
constexpr Cost kNearSoundBase = 10;
constexpr Cost kNearSoundPerSound = 2;

// steps[p]: the first row whose prior is above p.
const std::array<std::uint32_t, 64>& priorSteps() {
  static const std::array<std::uint32_t, 64> steps = [] {
    std::array<std::uint32_t, 64> s{};
    for (std::size_t p = 0; p < s.size(); ++p) {
      const double row =
          std::ceil(kPriorRows * (std::exp2(static_cast<double>(p + 1) / kPriorPerDoubling) - 1));
      s[p] = static_cast<std::uint32_t>(std::min(row, 4.0e9));
    }
    return s;
  }();
  return steps;
}

Cost placePrior(std::uint32_t row) {
  const auto& steps = priorSteps();
  return static_cast<Cost>(std::upper_bound(steps.begin(), steps.end(), row) - steps.begin());
}

// The first row whose prior is above `most`: every later one's is too.
std::uint32_t firstRowAbove(long most) {
  if (most < 0) return 0;
  const auto& steps = priorSteps();
  return most >= static_cast<long>(steps.size()) ? UINT32_MAX
                                                 : steps[static_cast<std::size_t>(most)];
}

constexpr std::uint32_t kNoThreshold = UINT32_MAX;

// The best headwords so far (or every listed row).
class Ranking {
 public:
  Ranking(std::size_t wanted, std::uint32_t cap) : wanted_(wanted), cap_(cap) {}

  // The score a row must not pass to be listed.
  std::uint32_t threshold() const {
    return wanted_ == SIZE_MAX || kept_.size() < wanted_
               ? cap_
               : std::min(cap_, static_cast<std::uint32_t>(kept_[worst_].key >> 32));
  }
  bool full() const { return wanted_ != SIZE_MAX && kept_.size() >= wanted_; }

  void offer(std::uint32_t score, std::uint32_t row, std::uint32_t headword, bool nearSound) {
    const ScoredRow candidate{(std::uint64_t{score} << 32) | row, row, headword, nearSound};
    if (wanted_ == SIZE_MAX) {
      kept_.push_back(candidate);
      return;
    }
    const bool full = kept_.size() >= wanted_;
    if (full && candidate.key >= kept_[worst_].key) return;
    for (ScoredRow& kept : kept_) {
      if (kept.headword != headword) continue;
      if (candidate.key < kept.key) kept = candidate;
      findWorst();
      return;
    }
    if (full)
      kept_[worst_] = candidate;
    else
      kept_.push_back(candidate);
    findWorst();
  }

  std::vector<ScoredRow> take(std::size_t headwords) {
    std::sort(kept_.begin(), kept_.end(),
              [](const ScoredRow& a, const ScoredRow& b) { return a.key < b.key; });
    if (wanted_ != SIZE_MAX) return std::move(kept_);
    std::vector<bool> seen(headwords, false);
    std::vector<ScoredRow> out;
    for (const ScoredRow& r : kept_) {
      if (r.headword >= seen.size() || seen[r.headword]) continue;
      seen[r.headword] = true;
      out.push_back(r);
    }
    return out;
  }

 private:
  void findWorst() {
    worst_ = 0;
    for (std::size_t i = 1; i < kept_.size(); ++i)
      if (kept_[i].key > kept_[worst_].key) worst_ = i;
  }

  std::size_t wanted_;
  std::uint32_t cap_;
  std::vector<ScoredRow> kept_;
  std::size_t worst_ = 0;
};

using RowBuffer = std::array<std::uint8_t, sound::TypedSounds::kMaxRow>;

// What the typed kinds a row lacks cost (TypedSounds::absentKindsBound) depends only on which
// of the few kinds that matter to the typed sounds the row has; far fewer sets of those than
// rows, so a search works each out once. A table by a hash of the set, one entry a slot, kept
// by each searching thread and marked with the search it belongs to, so that a search does not
// have to clear it.
class AbsentKindsCache {
 public:
  // Bounds above `most` are worked out only as far as past it.
  AbsentKindsCache(const sound::TypedSounds& typed, Cost most)
      : typed_(typed), relevant_(typed.relevantKinds()), most_(most), table_(table()) {
    if (++table_.search == 0) {
      table_.keys.fill(0);
      table_.search = 1;
    }
    tag_ = std::uint64_t{table_.search} << kTagShift;
  }
  Cost operator()(std::uint64_t kinds) {
    const std::uint64_t key = (kinds & relevant_) | tag_;
    const std::size_t slot = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> kShift);
    if (table_.keys[slot] != key) {
      table_.keys[slot] = key;
      table_.bounds[slot] = typed_.absentKindsBound(kinds & relevant_, most_);
    }
    return table_.bounds[slot];
  }

 private:
  static constexpr int kBits = 15;
  static constexpr int kShift = 64 - kBits;
  // The kinds of sound take the low bits, the search's tag the top byte.
  static constexpr int kTagShift = 56;
  static_assert(sound::kTokenKinds <= kTagShift);
  struct Table {
    std::uint8_t search = 0;
    std::array<std::uint64_t, std::size_t{1} << kBits> keys{};
    std::array<Cost, std::size_t{1} << kBits> bounds{};
  };
  static Table& table() {
    thread_local const std::unique_ptr<Table> table = std::make_unique<Table>();
    return *table;
  }

  const sound::TypedSounds& typed_;
  std::uint64_t relevant_;
  Cost most_;
  Table& table_;
  std::uint64_t tag_ = 0;
};

// The rows of one sound count in the index, in table order.
class IndexGroup {
 public:
  IndexGroup(const SoundRows& rows, int count)
      : rows_(rows),
        list_(rows.rowsWithSoundCount(count)),
        laid_(rows.tokensWithSoundCount(count)) {}
  std::size_t size() const { return list_.size(); }
  std::uint32_t row(std::size_t i) const { return list_[i]; }
  std::uint32_t headword(std::size_t i) const { return rows_.headword(list_[i]); }
  bool isPlainWord(std::size_t i) const { return rows_.isPlainWord(list_[i]); }
  // The row's sounds as tokens, read again into `buffer` only when not laid out yet.
  std::span<const std::uint8_t> tokens(std::size_t i, RowBuffer& buffer) const {
    if (laid_.offsets.empty()) {
      const std::size_t n = sound::tokenize(rows_.codes(list_[i]), buffer.data(), buffer.size());
      return {buffer.data(), std::min(n, buffer.size())};
    }
    const std::uint32_t from = laid_.offsets[i];
    return {laid_.tokens + from, laid_.offsets[i + 1] - from};
  }
  std::uint64_t kinds(std::size_t i, std::span<const std::uint8_t> tokens) const {
    return laid_.offsets.empty() ? sound::kindsOf(tokens.data(), tokens.size()) : laid_.kinds[i];
  }

 private:
  const SoundRows& rows_;
  std::span<const std::uint32_t> list_;
  PhoneticIndex::GroupTokens laid_;  // in the list's order
};

// The same rows as stored apart.
class StoredGroup {
 public:
  explicit StoredGroup(const quorvi::engine::SoundCountGroup& group) : group_(group) {}
  std::size_t size() const { return group_.size(); }
  std::uint32_t row(std::size_t i) const { return group_.row(i); }
  std::uint32_t headword(std::size_t i) const { return group_.headword(i); }
  bool isPlainWord(std::size_t i) const { return group_.isPlainWord(i); }
  std::span<const std::uint8_t> tokens(std::size_t i, RowBuffer& buffer) const {
    const std::size_t n = sound::tokenize(group_.codes(i), buffer.data(), buffer.size());
    return {buffer.data(), std::min(n, buffer.size())};
  }
  std::uint64_t kinds(std::size_t, std::span<const std::uint8_t> tokens) const {
    return sound::kindsOf(tokens.data(), tokens.size());
  }

 private:
  const quorvi::engine::SoundCountGroup& group_;
};

// Ranks the rows of the groups `groupOf(count)` gives (nothing: one cannot be read) whose
// score is at most `cap`, the groups whose count bounds the cost least first, until no
// further group can hold a row better than the ones kept. `rowsIn(count)` is a group's size
// before it is read: past `budget` rows looked at it stops with `overBudget`. True in
// `complete` when as many headwords as wanted were found within the cap.
template <typename GroupOf, typename RowsIn>
bool rankGroupsWithin(std::uint32_t cap, GroupOf& groupOf, RowsIn& rowsIn, std::size_t budget,
                      std::size_t headwords, const SoundQuery& query, std::vector<ScoredRow>& out,
                      bool& overBudget, bool& complete) {
  const sound::TypedSounds& typed = query.typed;
  overBudget = false;
  complete = true;
  out.clear();
  if (typed.empty()) return true;
  const Cost cutoff = nearSoundCutoff(typed);
  std::array<int, 256> counts;
  for (int c = 0; c < 256; ++c) counts[static_cast<std::size_t>(c)] = c;
  std::stable_sort(counts.begin(), counts.end(),
                   [&typed](int a, int b) { return typed.lengthBound(a) < typed.lengthBound(b); });
  Ranking ranking(query.wanted, cap);
  RowBuffer buffer;
  AbsentKindsCache absentCosts(typed, cutoff);
  std::size_t looked = 0;
  for (const int count : counts) {
    const Cost lengthBound = typed.lengthBound(count);
    if (rowScore(lengthBound, 0) > ranking.threshold()) break;
    // Past the cutoff only rows that hold the typed sounds in order are listed.
    if (lengthBound > cutoff && count < typed.codeCount()) continue;
    const std::size_t size = rowsIn(count);
    if (size == 0) continue;
    looked += size;
    if (looked > budget) {
      overBudget = true;
      return true;
    }
    const auto group = groupOf(count);
    if (!group) return false;
    // The score a row must not pass, and the first row whose prior alone passes it (rows come
    // in table order, so their priors only grow): both change only when a row is kept.
    std::uint32_t threshold = 0, rowLimit = 0;
    const auto limitsChanged = [&] {
      threshold = ranking.threshold();
      rowLimit = threshold == kNoThreshold
                     ? UINT32_MAX
                     : firstRowAbove(static_cast<long>(threshold) - lengthBound -
                                     (lengthBound > 0 ? kNotExact : 0));
    };
    limitsChanged();
    for (std::size_t i = 0; i < group->size(); ++i) {
      const std::uint32_t row = group->row(i);
      if (row >= rowLimit) break;
      // Past the cutoff only a row that holds every typed sound can be listed.
      const std::span<const std::uint8_t> tokens = group->tokens(i, buffer);
      const std::uint64_t kinds = group->kinds(i, tokens);
      const bool mayHoldAll = typed.mayHoldAllKinds(kinds);
      if (lengthBound > cutoff && !mayHoldAll) continue;
      // Short of holding every typed sound, all that matters is whether it passes the cutoff.
      const Cost bound = std::max<Cost>(
          lengthBound, static_cast<Cost>(std::min<int>(sound::TypedSounds::kFar,
                                                       typed.extraRowTokensBound(tokens.size()) +
                                                           (mayHoldAll ? 0 : absentCosts(kinds)))));
      if (!mayHoldAll && bound > cutoff) continue;
      const Cost prior = rowPrior(row, group->isPlainWord(i), query.severalWords);
      if (threshold != kNoThreshold && rowScore(bound, prior) > threshold) continue;
      const Cost most = threshold == kNoThreshold
                            ? sound::TypedSounds::kFar - 1
                            : static_cast<Cost>(std::min<std::uint32_t>(
                                  threshold - prior, sound::TypedSounds::kFar - 1));
      const sound::TypedSounds::Weighed weighed =
          typed.weigh(tokens.data(), tokens.size(), most, cutoff, bound, nearSoundHeld(typed));
      if (weighed.cost > most ||
          (!weighed.inOrder && (weighed.cost > cutoff || weighed.held < nearSoundHeld(typed))))
        continue;
      ranking.offer(rowScore(weighed.cost, prior), row, group->headword(i), !weighed.inOrder);
      limitsChanged();
    }
  }
  complete = cap == kNoThreshold || ranking.full();
  out = ranking.take(headwords);
  return true;
}

// The same for every score: first within small caps, which let the bounds skip most rows,
// then wider ones until as many headwords as wanted are found. Whatever the cap that
// answers, the list is the same: every row within it was weighed.
template <typename GroupOf, typename RowsIn>
bool rankGroups(GroupOf groupOf, RowsIn rowsIn, std::size_t budget, std::size_t headwords,
                const SoundQuery& query, std::vector<ScoredRow>& out, bool& overBudget) {
  // Small caps first did not pay on the real dictionary: the lists of long words are short,
  // so the last, uncapped pass ran anyway.
  const std::uint32_t caps[] = {kNoThreshold};
  for (std::uint32_t cap : caps) {
    if (query.wanted == SIZE_MAX && cap != kNoThreshold) continue;
    bool complete = false;
    if (!rankGroupsWithin(cap, groupOf, rowsIn, budget, headwords, query, out, overBudget,
                          complete))
      return false;
    if (overBudget || complete) return true;
  }
  return true;
}

}  // namespace

Cost rowPrior(std::uint32_t row, bool plainWord, bool severalWords) {
  return static_cast<Cost>(placePrior(row) + (plainWord || severalWords ? 0 : kNotPlainWord));
}

std::uint32_t rowScore(Cost cost, Cost prior) {
  return std::uint32_t{cost} + (cost > 0 ? kNotExact : 0) + prior;
}

std::size_t nearSoundHeld(const sound::TypedSounds& typed) {
  return std::max<std::size_t>(1, typed.size() / 2);
}

Cost nearSoundCutoff(const sound::TypedSounds& typed) {
  return static_cast<Cost>(kNearSoundBase + kNearSoundPerSound * typed.size());
}

std::vector<ScoredRow> rankRows(const SoundRows& rows, const SoundQuery& query) {
  std::vector<ScoredRow> out;
  bool overBudget = false;
  rankGroups([&rows](int count) { return std::optional<IndexGroup>(std::in_place, rows, count); },
             [&rows](int count) { return rows.rowsWithSoundCount(count).size(); }, SIZE_MAX,
             rows.size(), query, out, overBudget);
  return out;
}

bool rankRows(quorvi::engine::SoundGroupReader& groups, const SoundQuery& query,
              std::size_t rowBudget, std::vector<ScoredRow>& out, bool& overBudget) {
  return rankGroups(
      [&groups](int count) {
        const quorvi::engine::SoundCountGroup* group = groups.group(count);
        return group ? std::optional<StoredGroup>(std::in_place, *group) : std::nullopt;
      },
      [&groups](int count) { return std::size_t{groups.groupRows(count)}; }, rowBudget,
      groups.indexRows(), query, out, overBudget);
}
