#include "engine/closest_match.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <memory>
#include <optional>
#include <span>

#include "engine/helper_thread.h"
#include "engine/sound_code.h"
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

// The rows of one sound count in memory, in table order.
class IndexGroup {
 public:
  IndexGroup(const SoundRows& rows, int count)
      : rows_(rows), count_(rows.store().withCount(count)) {}
  std::size_t size() const { return count_.size(); }
  std::uint32_t row(std::size_t i) const { return count_.rows[i]; }
  std::uint32_t headword(std::size_t i) const { return rows_.headword(count_.rows[i]); }
  bool isPlainWord(std::size_t i) const { return rows_.isPlainWord(count_.rows[i]); }
  std::span<const std::uint8_t> tokens(std::size_t i, RowBuffer&) const {
    return count_.tokensOf(i);
  }
  std::uint64_t kinds(std::size_t i, std::span<const std::uint8_t>) const {
    return count_.kinds[i];
  }

 private:
  const SoundRows& rows_;
  quorvi::engine::SoundStore::Count count_;
};

// The same rows as stored, before the store is made of them.
class StoredGroup {
 public:
  explicit StoredGroup(std::shared_ptr<const quorvi::engine::SoundCountGroup> group)
      : group_(std::move(group)) {}
  std::size_t size() const { return group_->size(); }
  std::uint32_t row(std::size_t i) const { return group_->row(i); }
  std::uint32_t headword(std::size_t i) const { return group_->headword(i); }
  bool isPlainWord(std::size_t i) const { return group_->isPlainWord(i); }
  std::span<const std::uint8_t> tokens(std::size_t i, RowBuffer& buffer) const {
    const std::size_t n = sound::tokenize(group_->codes(i), buffer.data(), buffer.size());
    return {buffer.data(), std::min(n, buffer.size())};
  }
  std::uint64_t kinds(std::size_t, std::span<const std::uint8_t> tokens) const {
    return sound::kindsOf(tokens.data(), tokens.size());
  }

 private:
  std::shared_ptr<const quorvi::engine::SoundCountGroup> group_;
};

// False when no row of a group of `count` sounds can be listed, whatever the others score:
// past the near-sound cutoff only rows that hold the typed sounds in order are listed, and a
// row shorter than the typed sounds cannot hold them all.
bool mayListAny(const sound::TypedSounds& typed, Cost cutoff, Cost lengthBound, int count) {
  return !(lengthBound > cutoff && count < typed.codeCount());
}

// One ranking's work over the rows it is given, group by group: it keeps the best headwords
// within the cap. Two rankings that share the rows of a search share the score a row must not
// pass, too: either's is a limit for both, as it has as many headwords as wanted that score
// better.
class RowRanking {
 public:
  RowRanking(const SoundQuery& query, std::uint32_t cap,
             std::atomic<std::uint32_t>* sharedThreshold = nullptr)
      : query_(query),
        typed_(query.typed),
        cutoff_(nearSoundCutoff(query.typed)),
        ranking_(query.wanted, cap),
        shared_(sharedThreshold),
        absentCosts_(query.typed, cutoff_) {}

  Cost cutoff() const { return cutoff_; }
  bool full() const { return ranking_.full(); }
  std::vector<ScoredRow> take(std::size_t headwords) { return ranking_.take(headwords); }

  // The score a row must not pass.
  std::uint32_t threshold() const {
    const std::uint32_t own = ranking_.threshold();
    return shared_ == nullptr ? own : std::min(own, shared_->load(std::memory_order_relaxed));
  }
  // False when no row of a group whose count bounds the cost by `lengthBound` can be kept.
  bool mayKeepAny(Cost lengthBound, int count) const {
    return rowScore(lengthBound, 0) <= threshold() &&
           mayListAny(typed_, cutoff_, lengthBound, count);
  }

  // Weighs the rows [begin, end) of a group of one sound count, in table order.
  template <typename Group>
  void rank(const Group& group, Cost lengthBound, std::size_t begin, std::size_t end) {
    // The score a row must not pass, and the first row whose prior alone passes it (rows come
    // in table order, so their priors only grow): both change only when a row is kept.
    std::uint32_t threshold = 0, rowLimit = 0;
    const auto limitsChanged = [&] {
      threshold = this->threshold();
      rowLimit = threshold == kNoThreshold
                     ? UINT32_MAX
                     : firstRowAbove(static_cast<long>(threshold) - lengthBound -
                                     (lengthBound > 0 ? kNotExact : 0));
    };
    limitsChanged();
    const std::size_t held = nearSoundHeld(typed_);
    for (std::size_t i = begin; i < end; ++i) {
      if (shared_ != nullptr && shared_->load(std::memory_order_relaxed) < threshold)
        limitsChanged();
      const std::uint32_t row = group.row(i);
      if (row >= rowLimit) break;
      // Past the cutoff only a row that holds every typed sound can be listed.
      const std::span<const std::uint8_t> tokens = group.tokens(i, buffer_);
      const std::uint64_t kinds = group.kinds(i, tokens);
      const bool mayHoldAll = typed_.mayHoldAllKinds(kinds);
      if (lengthBound > cutoff_ && !mayHoldAll) continue;
      // Short of holding every typed sound, all that matters is whether it passes the cutoff.
      const Cost bound = std::max<Cost>(
          lengthBound, static_cast<Cost>(std::min<int>(
                           sound::TypedSounds::kFar, typed_.extraRowTokensBound(tokens.size()) +
                                                         (mayHoldAll ? 0 : absentCosts_(kinds)))));
      if (!mayHoldAll && bound > cutoff_) continue;
      const Cost prior = rowPrior(row, group.isPlainWord(i), query_.severalWords);
      if (threshold != kNoThreshold && rowScore(bound, prior) > threshold) continue;
      const Cost most = threshold == kNoThreshold
                            ? sound::TypedSounds::kFar - 1
                            : static_cast<Cost>(std::min<std::uint32_t>(
                                  threshold - prior, sound::TypedSounds::kFar - 1));
      const sound::TypedSounds::Weighed weighed =
          typed_.weigh(tokens.data(), tokens.size(), most, cutoff_, bound, held);
      if (weighed.cost > most ||
          (!weighed.inOrder && (weighed.cost > cutoff_ || weighed.held < held)))
        continue;
      ranking_.offer(rowScore(weighed.cost, prior), row, group.headword(i), !weighed.inOrder);
      shareThreshold();
      limitsChanged();
    }
  }

 private:
  void shareThreshold() {
    if (shared_ == nullptr || !ranking_.full()) return;
    const std::uint32_t own = ranking_.threshold();
    std::uint32_t shared = shared_->load(std::memory_order_relaxed);
    while (own < shared &&
           !shared_->compare_exchange_weak(shared, own, std::memory_order_relaxed)) {
    }
  }

  const SoundQuery& query_;
  const sound::TypedSounds& typed_;
  const Cost cutoff_;
  Ranking ranking_;
  std::atomic<std::uint32_t>* shared_;
  AbsentKindsCache absentCosts_;
  RowBuffer buffer_;
};

// The sound counts in the order a search visits them: those whose count bounds the cost least
// first.
std::array<int, 256> countsByLengthBound(const sound::TypedSounds& typed) {
  std::array<int, 256> counts;
  for (int c = 0; c < 256; ++c) counts[static_cast<std::size_t>(c)] = c;
  std::stable_sort(counts.begin(), counts.end(),
                   [&typed](int a, int b) { return typed.lengthBound(a) < typed.lengthBound(b); });
  return counts;
}

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
  const auto ranking = std::make_unique<RowRanking>(query, cap);
  std::size_t looked = 0;
  for (const int count : countsByLengthBound(typed)) {
    const Cost lengthBound = typed.lengthBound(count);
    if (rowScore(lengthBound, 0) > ranking->threshold()) break;
    if (!ranking->mayKeepAny(lengthBound, count)) continue;
    const std::size_t size = rowsIn(count);
    if (size == 0) continue;
    looked += size;
    if (looked > budget) {
      overBudget = true;
      return true;
    }
    const auto group = groupOf(count);
    if (!group) return false;
    ranking->rank(*group, lengthBound, 0, group->size());
  }
  complete = cap == kNoThreshold || ranking->full();
  out = ranking->take(headwords);
  return true;
}

// A search that may look at this many rows or more shares them with a helper thread.
std::atomic<std::size_t> rowsForTwoLanes{60000};
// How many rows of a group one thread takes at a time.
std::atomic<std::size_t> stretchRows{4096};

// How many rows a search may weigh in full: those of every sound count within the near-sound
// cutoff. Longer rows must hold every kind of typed sound, which most lack, and a short input
// that most rows hold fills its list with common words first, whose score then ends the
// search early; so a search of one or two sounds stays on the caller's thread alone.
template <typename RowsIn>
std::size_t rowsToWeigh(const sound::TypedSounds& typed, RowsIn& rowsIn) {
  if (typed.empty()) return 0;
  const Cost cutoff = nearSoundCutoff(typed);
  std::size_t rows = 0;
  for (int count = 0; count < 256; ++count)
    if (typed.lengthBound(count) <= cutoff) rows += rowsIn(count);
  return rows;
}

// Two lanes' lists as one: best first, each headword once at its best row, as many as wanted.
std::vector<ScoredRow> merged(std::vector<ScoredRow> a, std::vector<ScoredRow> b,
                              std::size_t wanted, std::size_t headwords) {
  a.insert(a.end(), b.begin(), b.end());
  std::sort(a.begin(), a.end(),
            [](const ScoredRow& x, const ScoredRow& y) { return x.key < y.key; });
  std::vector<bool> seen(headwords, false);
  std::vector<ScoredRow> out;
  for (const ScoredRow& r : a) {
    if (out.size() >= wanted) break;
    if (r.headword < seen.size() && seen[r.headword]) continue;
    if (r.headword < seen.size()) seen[r.headword] = true;
    out.push_back(r);
  }
  return out;
}

// A long stretch of one group's rows, which one thread weighs while another weighs the next.
struct RowStretch {
  int count;
  std::size_t begin, end;
};

// The rows in memory ranked by the caller and the helper thread together: each takes the next
// stretch of rows in the order a search visits them, with a ranking of its own, and the two
// lists are merged. When the helper is slow to start, the caller takes every stretch left.
// Nothing when the helper is taken.
std::optional<std::vector<ScoredRow>> rankInTwoLanes(const SoundRows& rows,
                                                     const SoundQuery& query) {
  const sound::TypedSounds& typed = query.typed;
  std::vector<RowStretch> stretches;
  {
    const Cost cutoff = nearSoundCutoff(typed);
    for (const int count : countsByLengthBound(typed)) {
      if (!mayListAny(typed, cutoff, typed.lengthBound(count), count)) continue;
      const std::size_t size = rows.store().withCount(count).size();
      const std::size_t step =
          std::max<std::size_t>(1, stretchRows.load(std::memory_order_relaxed));
      for (std::size_t begin = 0; begin < size; begin += step)
        stretches.push_back({count, begin, std::min(size, begin + step)});
    }
  }
  std::atomic<std::size_t> next{0};
  std::atomic<std::uint32_t> threshold{kNoThreshold};
  const auto work = [&](std::vector<ScoredRow>& out) {
    const auto ranking = std::make_unique<RowRanking>(query, kNoThreshold, &threshold);
    for (std::size_t s; (s = next.fetch_add(1, std::memory_order_relaxed)) < stretches.size();) {
      const RowStretch& stretch = stretches[s];
      const Cost lengthBound = typed.lengthBound(stretch.count);
      if (!ranking->mayKeepAny(lengthBound, stretch.count)) continue;
      ranking->rank(IndexGroup(rows, stretch.count), lengthBound, stretch.begin, stretch.end);
    }
    out = ranking->take(rows.size());
  };
  std::vector<ScoredRow> mine, theirs;
  if (!quorvi::engine::runBesideHelper([&] { work(mine); }, [&] { work(theirs); }))
    return std::nullopt;
  return merged(std::move(mine), std::move(theirs), query.wanted, rows.size());
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

void setTwoLanes(std::size_t fromRows, std::size_t rowsAtATime) {
  rowsForTwoLanes.store(fromRows, std::memory_order_relaxed);
  stretchRows.store(rowsAtATime, std::memory_order_relaxed);
}

std::vector<ScoredRow> rankRows(const SoundRows& rows, const SoundQuery& query) {
  auto rowsIn = [&rows](int count) { return rows.store().withCount(count).size(); };
  if (rowsToWeigh(query.typed, rowsIn) >= rowsForTwoLanes.load(std::memory_order_relaxed))
    if (std::optional<std::vector<ScoredRow>> ranked = rankInTwoLanes(rows, query))
      return std::move(*ranked);
  std::vector<ScoredRow> out;
  bool overBudget = false;
  rankGroups([&rows](int count) { return std::optional<IndexGroup>(std::in_place, rows, count); },
             rowsIn, SIZE_MAX, rows.size(), query, out, overBudget);
  return out;
}

bool rankStoredRows(PhoneticIndex& index, const SoundQuery& query, std::size_t rowBudget,
                    std::vector<ScoredRow>& out, bool& overBudget) {
  return rankGroups(
      [&index](int count) {
        auto group = index.storedSoundGroup(count);
        return group ? std::optional<StoredGroup>(std::in_place, std::move(group)) : std::nullopt;
      },
      [&index](int count) { return std::size_t{index.storedSoundGroupRows(count)}; }, rowBudget,
      index.rowCount(), query, out, overBudget);
}
