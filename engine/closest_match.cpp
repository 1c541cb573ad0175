#include "engine/closest_match.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <array>
#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <tuple>
#include <utility>

#include "engine/page_mapping.h"
#include "engine/helper_thread.h"

namespace {

using quorvi::engine::bandStart;
using quorvi::engine::RowStore;
using quorvi::engine::SoundCountGroup;
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

// The highest cost at which a row that does not hold the typed sounds in order is listed, and
// the fewest typed sounds it must hold in order: none and any when the nearest rows are
// wanted anyway.
Cost cutoffOf(const SoundQuery& query) {
  return query.nearestAnyway ? sound::TypedSounds::kFar - 1 : nearSoundCutoff(query.typed);
}
std::size_t heldOf(const SoundQuery& query) {
  return query.nearestAnyway ? 0 : nearSoundHeld(query.typed);
}

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

// A row's prior from its place prior and its headword's kind.
Cost priorOf(Cost placePrior, bool plainWord, bool severalWords) {
  return static_cast<Cost>(placePrior + (plainWord || severalWords ? 0 : kNotPlainWord));
}

Cost placePrior(std::uint32_t row) {
  const auto& steps = priorSteps();
  return static_cast<Cost>(std::upper_bound(steps.begin(), steps.end(), row) - steps.begin());
}

// The place priors of rows that come in table order, as a group's do: each only steps up from
// the one before.
class PlacePriors {
 public:
  Cost of(std::uint32_t row) {
    const auto& steps = priorSteps();
    while (place_ < steps.size() && row >= steps[place_]) ++place_;
    return static_cast<Cost>(place_);
  }

 private:
  std::size_t place_ = 0;
};

// The first row whose prior is above `most`: every later one's is too.
std::uint32_t firstRowAbove(long most) {
  if (most < 0) return 0;
  const auto& steps = priorSteps();
  return most >= static_cast<long>(steps.size()) ? UINT32_MAX
                                                 : steps[static_cast<std::size_t>(most)];
}

constexpr std::uint32_t kNoThreshold = UINT32_MAX;

bool byKey(const ScoredRow& a, const ScoredRow& b) {
  return a.key < b.key;
}

// Where a radix sort puts its rows between passes, and its counts: a lane that must not
// allocate sorts in room its caller made.
struct SortRoom {
  static constexpr int kDigitBits = 11;
  using Counts = std::array<std::uint32_t, std::size_t{1} << kDigitBits>;
  // The digits overlap by a bit where that keeps the row number (the low half of a key) and the
  // score (the high half) apart, so that the high bits of rows, all zero, make a digit of their
  // own.
  static constexpr std::array<int, 6> kShifts = {0, 11, 21, 32, 43, 53};

  // Room for `rows` rows: what a radix sort needs, when it is one.
  void make(std::size_t rows) {
    other.reserve(rows);
    if (rows >= kLeastForRadix && counts == nullptr)
      counts = std::make_unique<std::array<Counts, kShifts.size()>>();
  }

  static constexpr std::size_t kLeastForRadix = 1024;
  ScoredRows other;
  std::unique_ptr<std::array<Counts, kShifts.size()>> counts;
};

// Sorts `rows` by key: a radix sort, eleven bits at a time, which passes over the digits all
// rows share; a Return lists tens of thousands of rows. One pass counts every digit.
void sortByKey(ScoredRows& rows, SortRoom& room) {
  if (rows.size() < SortRoom::kLeastForRadix) {
    std::sort(rows.begin(), rows.end(), byKey);
    return;
  }
  room.make(rows.size());
  constexpr std::uint64_t kDigitMask = (std::uint64_t{1} << SortRoom::kDigitBits) - 1;
  constexpr auto& kShifts = SortRoom::kShifts;
  auto& counts = *room.counts;
  for (SortRoom::Counts& digit : counts) digit.fill(0);
  for (const ScoredRow& r : rows)
    for (std::size_t d = 0; d < kShifts.size(); ++d)
      ++counts[d][(r.key >> kShifts[d]) & kDigitMask];
  room.other.resize(rows.size());
  for (std::size_t d = 0; d < kShifts.size(); ++d) {
    const int shift = kShifts[d];
    SortRoom::Counts& digit = counts[d];
    if (digit[(rows.front().key >> shift) & kDigitMask] == rows.size()) continue;
    std::uint32_t start = 0;
    for (std::uint32_t& count : digit) start += std::exchange(count, start);
    for (const ScoredRow& r : rows) room.other[digit[(r.key >> shift) & kDigitMask]++] = r;
    rows.swap(room.other);
  }
}

// Each headword once, at its best row: `rows` in order of their keys, cut at `wanted`. `rows`
// is sorted here unless it comes sorted.
ScoredRows bestPerHeadword(ScoredRows rows, std::size_t wanted, std::size_t headwords,
                           bool sorted = false) {
  if (!sorted) {
    SortRoom room;
    sortByKey(rows, room);
  }
  std::vector<bool> seen(headwords, false);
  std::size_t kept = 0;
  for (std::size_t i = 0; i < rows.size() && kept < wanted; ++i) {
    const std::uint32_t headword = rows[i].headword;
    if (headword < seen.size()) {
      if (seen[headword]) continue;
      seen[headword] = true;
    }
    rows[kept++] = rows[i];
  }
  rows.resize(kept);
  return rows;
}

// The best headwords so far (or every listed row).
class Ranking {
 public:
  // `storage`: room for the rows kept, made by the caller.
  explicit Ranking(std::size_t wanted, ScoredRows storage = {})
      : wanted_(wanted), kept_(std::move(storage)) {
    kept_.clear();
  }

  // The score a row must not pass to be listed.
  std::uint32_t threshold() const {
    return full() ? static_cast<std::uint32_t>(kept_[worst_].key >> 32) : kNoThreshold;
  }
  bool full() const { return wanted_ != SIZE_MAX && kept_.size() >= wanted_; }

  void offer(const ScoredRow& candidate) {
    if (wanted_ == SIZE_MAX) {
      kept_.push_back(candidate);
      return;
    }
    const bool full = kept_.size() >= wanted_;
    if (full && candidate.key >= kept_[worst_].key) return;
    for (ScoredRow& kept : kept_) {
      if (kept.headword != candidate.headword) continue;
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

  // The rows kept, best first, each headword once (the capped ranking keeps each once already).
  ScoredRows take(std::size_t headwords) {
    return bestPerHeadword(std::move(kept_), SIZE_MAX, wanted_ == SIZE_MAX ? headwords : 0);
  }
  // The rows kept, in no order, a headword perhaps more than once.
  ScoredRows takeUnsorted() { return std::move(kept_); }

 private:
  void findWorst() {
    worst_ = 0;
    for (std::size_t i = 1; i < kept_.size(); ++i)
      if (kept_[i].key > kept_[worst_].key) worst_ = i;
  }

  std::size_t wanted_;
  ScoredRows kept_;
  std::size_t worst_ = 0;
};

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
  static constexpr int kBits = 13;
  static constexpr int kShift = 64 - kBits;
  // The kinds of sound take the low bits, the search's tag the top byte.
  static constexpr int kTagShift = 56;
  static_assert(sound::kTokenKinds <= kTagShift);
  struct Table {
    std::uint8_t search = 0;
    std::array<std::uint64_t, std::size_t{1} << kBits> keys{};
    std::array<Cost, std::size_t{1} << kBits> bounds{};
  };
  // Zeroed memory, its pages mapped in one call: a search reaches most of them, and each
  // would trap into the kernel on its first read and again on its first write.
  struct Free {
    void operator()(Table* table) const { std::free(table); }
  };
  static Table& table() {
    thread_local const std::unique_ptr<Table, Free> table([] {
      auto* made = static_cast<Table*>(std::calloc(1, sizeof(Table)));
      if (made != nullptr) quorvi::engine::mapPagesNow(made, sizeof(Table));
      return made;
    }());
    if (table == nullptr) throw std::bad_alloc();
    return *table;
  }

  const sound::TypedSounds& typed_;
  std::uint64_t relevant_;
  Cost most_;
  Table& table_;
  std::uint64_t tag_ = 0;
};

// False when no row of a group of `count` sounds can be listed, whatever the others score:
// past the near-sound cutoff only rows that hold the typed sounds in order are listed, and a
// row shorter than the typed sounds cannot hold them all.
bool mayListAny(const sound::TypedSounds& typed, Cost cutoff, Cost lengthBound, int count) {
  return !(lengthBound > cutoff && count < static_cast<int>(typed.size()));
}

// A stretch of one group's rows [begin, end), the rows of `count` sounds in `band`.
struct RowStretch {
  const SoundCountGroup* group;
  int count, band;
  std::size_t begin, end;
};

// One ranking's work over the rows it is given, stretch by stretch: it keeps the best
// headwords. Two rankings that share the rows of a search share the score a row
// must not pass, too: either's is a limit for both, as it has as many headwords as wanted that
// score better.
class RowRanking {
 public:
  RowRanking(const RowStore& store, const SoundQuery& query,
             std::atomic<std::uint32_t>* sharedThreshold = nullptr, ScoredRows storage = {})
      : store_(store),
        query_(query),
        typed_(query.typed),
        cutoff_(cutoffOf(query)),
        ranking_(query.wanted, std::move(storage)),
        shared_(sharedThreshold),
        absentCosts_(query.typed, cutoff_) {}

  ScoredRows take() { return ranking_.take(store_.rowCount()); }
  ScoredRows takeUnsorted() { return ranking_.takeUnsorted(); }

  // The score a row must not pass.
  std::uint32_t threshold() const {
    const std::uint32_t own = std::min(ranking_.threshold(), query_.scoreLimit);
    return shared_ == nullptr ? own : std::min(own, shared_->load(std::memory_order_relaxed));
  }
  // The deadline of a search for the nearest rows anyway passed: it keeps what it has.
  bool outOfTime() const { return outOfTime_; }
  // False when no row of a group whose count bounds the cost by `lengthBound` can be kept.
  bool mayKeepAny(Cost lengthBound, int count) const {
    return rowScore(lengthBound, 0) <= threshold() &&
           mayListAny(typed_, cutoff_, lengthBound, count);
  }
  // The first row whose prior alone, with `lengthBound`, passes the score a row must not pass:
  // in a group's table order every later row does too.
  std::uint32_t rowLimit(Cost lengthBound) const { return rowLimit(threshold(), lengthBound); }

  // Weighs the rows of a stretch, in table order.
  void rank(const RowStretch& stretch, Cost lengthBound) {
    const SoundCountGroup& group = *stretch.group;
    // The score a row must not pass, and the first row whose prior alone passes it (rows come
    // in table order, so their priors only grow): both change only when a row is kept.
    std::uint32_t threshold = 0, rowLimit = 0;
    const auto limitsChanged = [&] {
      threshold = this->threshold();
      rowLimit = RowRanking::rowLimit(threshold, lengthBound);
    };
    limitsChanged();
    const std::size_t held = heldOf(query_);
    PlacePriors placePriors;
    for (std::size_t i = stretch.begin; i < stretch.end; ++i) {
      if (query_.nearestAnyway && (i & 1023) == 0 &&
          std::chrono::steady_clock::now() > query_.deadline) {
        outOfTime_ = true;
        return;
      }
      if (shared_ != nullptr && shared_->load(std::memory_order_relaxed) < threshold)
        limitsChanged();
      const std::uint32_t row = group.row(i);
      if (row >= rowLimit) break;
      // Past the cutoff only a row that holds every typed sound can be listed.
      const std::uint64_t kinds = group.kinds(i);
      const bool mayHoldAll = typed_.mayHoldAllKinds(kinds);
      if (lengthBound > cutoff_ && !mayHoldAll) continue;
      const std::span<const std::uint8_t> tokens = group.tokens(i);
      // Short of holding every typed sound, all that matters is whether it passes the cutoff.
      const Cost bound = std::max<Cost>(
          lengthBound, static_cast<Cost>(std::min<int>(
                           sound::TypedSounds::kFar, typed_.extraRowTokensBound(tokens.size()) +
                                                         (mayHoldAll ? 0 : absentCosts_(kinds)))));
      if (!mayHoldAll && bound > cutoff_) continue;
      const Cost prior = priorOf(placePriors.of(row), group.isPlainWord(i), query_.severalWords);
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
      const std::uint32_t score = rowScore(weighed.cost, prior);
      // A row found by its American entry is listed at its British one: the row once, at the
      // cheaper of its two entries.
      const RowStore::Place place = group.isAmerican(i)
                                        ? group.britishPlace(i)
                                        : store_.placeOf(stretch.count, stretch.band, i);
      ranking_.offer({(std::uint64_t{score} << 32) | row, group.headword(i),
                      place | (weighed.inOrder ? 0 : ScoredRow::kNearSound)});
      shareThreshold();
      limitsChanged();
    }
  }

 private:
  static std::uint32_t rowLimit(std::uint32_t threshold, Cost lengthBound) {
    return threshold == kNoThreshold ? UINT32_MAX
                                     : firstRowAbove(static_cast<long>(threshold) - lengthBound -
                                                     (lengthBound > 0 ? kNotExact : 0));
  }
  void shareThreshold() {
    if (shared_ == nullptr || !ranking_.full()) return;
    const std::uint32_t own = ranking_.threshold();
    std::uint32_t shared = shared_->load(std::memory_order_relaxed);
    while (own < shared &&
           !shared_->compare_exchange_weak(shared, own, std::memory_order_relaxed)) {
    }
  }

  const RowStore& store_;
  const SoundQuery& query_;
  const sound::TypedSounds& typed_;
  const Cost cutoff_;
  Ranking ranking_;
  std::atomic<std::uint32_t>* shared_;
  AbsentKindsCache absentCosts_;
  bool outOfTime_ = false;
};

// A group of the store as a search visits it, and the least score a row of it can have: its
// count's length bound and the prior of its band's first row.
struct Cell {
  std::uint32_t least;
  int count, band;
  bool operator>(const Cell& other) const {
    return std::tie(least, count, band) > std::tie(other.least, other.count, other.band);
  }
};

// The groups that may hold a listed row, in the order a search visits them: least score first,
// then by count and band. A search stops at the first whose least score passes the score a row
// must not pass, so that the groups that set that score come first, whatever their count; the
// order is made as the groups are taken, since a capped search takes few.
class GroupsByLeastScore {
 public:
  GroupsByLeastScore(const RowStore& store, const sound::TypedSounds& typed, Cost cutoff)
      : store_(store), typed_(typed), bands_(store.bands()) {
    for (int count = 0; count <= quorvi::engine::kMaxSoundCount; ++count)
      if (store.rowsWithCount(count) != 0 &&
          mayListAny(typed, cutoff, typed.lengthBound(count), count))
        pushFrom(count, 0);
  }
  // The next group; false when none is left.
  bool next(Cell& cell) {
    if (heap_.empty()) return false;
    std::pop_heap(heap_.begin(), heap_.end(), std::greater<>());
    cell = heap_.back();
    heap_.pop_back();
    pushFrom(cell.count, cell.band + 1);
    return true;
  }

 private:
  // The first band from `band` on in which `count` has rows, if any.
  void pushFrom(int count, int band) {
    while (band < bands_ && store_.rowsIn(count, band) == 0) ++band;
    if (band >= bands_) return;
    heap_.push_back(
        {rowScore(typed_.lengthBound(count), placePrior(bandStart(band))), count, band});
    std::push_heap(heap_.begin(), heap_.end(), std::greater<>());
  }

  const RowStore& store_;
  const sound::TypedSounds& typed_;
  int bands_;
  std::vector<Cell> heap_;
};

// The rows ranked on the caller's thread alone, group by group in the order above, until no
// further group can hold a row better than the ones kept.
bool rankOnOneLane(const RowStore& store, const SoundQuery& query, ScoredRows& out) {
  const sound::TypedSounds& typed = query.typed;
  const auto ranking = std::make_unique<RowRanking>(store, query);
  GroupsByLeastScore groups(store, typed, cutoffOf(query));
  for (Cell cell; groups.next(cell);) {
    if (cell.least > ranking->threshold()) break;
    const Cost lengthBound = typed.lengthBound(cell.count);
    if (!ranking->mayKeepAny(lengthBound, cell.count) ||
        bandStart(cell.band) >= ranking->rowLimit(lengthBound))
      continue;
    const SoundCountGroup* group = store.group(cell.count, cell.band);
    if (group == nullptr) return false;
    ranking->rank({group, cell.count, cell.band, 0, group->size()}, lengthBound);
    if (ranking->outOfTime()) break;
  }
  out = ranking->take();
  return true;
}

// A search that may look at this many rows or more shares them with a helper thread.
std::atomic<std::size_t> rowsForTwoLanes{60000};
// How many rows of a group one thread takes at a time.
std::atomic<std::size_t> stretchRows{4096};

// How many rows a search may weigh in full: those of every sound count within the near-sound
// cutoff. Longer rows must hold every kind of typed sound, which most lack, and a short input
// that most rows hold fills a capped list with common words first, whose score then ends the
// search early; so a capped search of one or two sounds stays on the caller's thread alone.
// A search that lists every headword weighs every row that holds the typed kinds, however long.
std::size_t rowsToWeigh(const RowStore& store, const SoundQuery& query) {
  const sound::TypedSounds& typed = query.typed;
  const Cost cutoff = cutoffOf(query);
  const bool everyRow = query.wanted == SIZE_MAX;
  std::size_t rows = 0;
  for (int count = 0; count <= quorvi::engine::kMaxSoundCount; ++count) {
    const Cost lengthBound = typed.lengthBound(count);
    if (lengthBound <= cutoff || (everyRow && mayListAny(typed, cutoff, lengthBound, count)))
      rows += store.rowsWithCount(count);
  }
  return rows;
}

// The rows ranked by the caller and the helper thread together: each takes the next stretch
// of rows in the order a search visits them, with a ranking of its own, and the two lists are
// merged. A lane reads a stretch's group when it comes to it and the store has not read it
// yet, so the groups that no kept row can come from are never read. When the helper is slow to
// start, the caller takes every stretch left. Nothing when the helper is taken; false when a
// group cannot be read. `rowsToWeigh`: as many rows as the lanes may keep.
bool rankInTwoLanes(const RowStore& store, const SoundQuery& query, std::size_t rowsToWeigh,
                    std::optional<ScoredRows>& out) {
  const sound::TypedSounds& typed = query.typed;
  std::vector<RowStretch> stretches;
  const Cost cutoff = cutoffOf(query);
  const std::size_t step = std::max<std::size_t>(1, stretchRows.load(std::memory_order_relaxed));
  GroupsByLeastScore groups(store, typed, cutoff);
  for (Cell cell; groups.next(cell);) {
    const std::size_t size = store.rowsIn(cell.count, cell.band);
    for (std::size_t begin = 0; begin < size; begin += step)
      stretches.push_back({nullptr, cell.count, cell.band, begin, std::min(size, begin + step)});
  }
  std::atomic<std::size_t> next{0};
  std::atomic<std::uint32_t> threshold{kNoThreshold};
  std::atomic<bool> unreadable{false};
  // Each lane keeps and sorts its rows in room made here, so that the helper allocates
  // nothing: what a thread allocates stays with its own heap once freed.
  const std::size_t room = query.wanted == SIZE_MAX ? rowsToWeigh : 2 * query.wanted;
  ScoredRows mine, theirs;
  SortRoom mineSorting, theirSorting;
  mine.reserve(room);
  theirs.reserve(room);
  mineSorting.make(room);
  theirSorting.make(room);
  const auto work = [&](ScoredRows& kept, SortRoom& sorting) {
    const auto ranking = std::make_unique<RowRanking>(store, query, &threshold, std::move(kept));
    for (std::size_t s; (s = next.fetch_add(1, std::memory_order_relaxed)) < stretches.size();) {
      RowStretch stretch = stretches[s];
      const Cost lengthBound = typed.lengthBound(stretch.count);
      if (!ranking->mayKeepAny(lengthBound, stretch.count) ||
          bandStart(stretch.band) >= ranking->rowLimit(lengthBound))
        continue;
      stretch.group = store.group(stretch.count, stretch.band);
      if (stretch.group == nullptr) {
        unreadable = true;
        break;
      }
      ranking->rank(stretch, lengthBound);
      if (ranking->outOfTime()) break;
    }
    kept = ranking->takeUnsorted();
    sortByKey(kept, sorting);
  };
  if (!quorvi::engine::runBesideHelper([&] { work(mine, mineSorting); },
                                       [&] { work(theirs, theirSorting); }))
    return true;
  if (unreadable) return false;
  // Each lane's list comes sorted: merged, they are too.
  ScoredRows& both = mineSorting.other;
  both.resize(mine.size() + theirs.size());
  std::merge(mine.begin(), mine.end(), theirs.begin(), theirs.end(), both.begin(), byKey);
  out = bestPerHeadword(std::move(both), query.wanted, store.rowCount(), true);
  return true;
}

}  // namespace

Cost rowPrior(std::uint32_t row, bool plainWord, bool severalWords) {
  return priorOf(placePrior(row), plainWord, severalWords);
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

bool rankRows(const RowStore& store, const SoundQuery& query, ScoredRows& out) {
  out.clear();
  if (query.typed.empty()) return true;
  bool ranked = false;
  // Before the store is complete, reading groups, one at a time under its reader lock, is most
  // of a search's work: a second lane would wait for the reader, and read groups that one lane,
  // which sets the score a row must not pass sooner, passes over.
  if (const std::size_t rows = store.complete() ? rowsToWeigh(store, query) : 0;
      rows != 0 && rows >= rowsForTwoLanes.load(std::memory_order_relaxed)) {
    std::optional<ScoredRows> twoLanes;
    if (!rankInTwoLanes(store, query, rows, twoLanes)) return false;
    if (twoLanes) out = std::move(*twoLanes), ranked = true;
  }
  if (!ranked && !rankOnOneLane(store, query, out)) return false;
  // The store may have found its rows unreadable while the counts were looked at: a list of
  // the rows it could read is no answer.
  return !store.failed();
}
