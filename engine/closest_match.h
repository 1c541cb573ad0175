// The rows closest to what the learner typed, by one score: the weighted alignment of the
// typed sounds against the row's whole transcription (engine/sound_alignment.h), plus a prior
// from the row's place in the table (its order is the order of usefulness: the first rows are
// the commonest words) and from its headword being a plain lower-case word or a name, number
// or phrase. A row is listed when it holds the typed sounds in order (length aside) or comes
// within a few slips of them; rows that needed a slip are marked near-sound.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/row_store.h"
#include "engine/sound_alignment.h"
#include "engine/working_memory.h"

// A row kept by a ranking: sixteen bytes, as a Return keeps a hundred thousand of them.
struct ScoredRow {
  // In `placeAndNear`: the row took a slip (a sound heard as another, or a typed one dropped).
  static constexpr std::uint32_t kNearSound = 0x80000000u;

  std::uint64_t key;           // the score above the row number: smaller comes first
  std::uint32_t headword;      // the first row of the headword
  std::uint32_t placeAndNear;  // where the row stands in the store, and kNearSound

  std::uint32_t row() const { return static_cast<std::uint32_t>(key); }
  quorvi::engine::RowStore::Place place() const { return placeAndNear & ~kNearSound; }
  bool nearSound() const { return (placeAndNear & kNearSound) != 0; }
};

using ScoredRows = std::vector<ScoredRow, quorvi::engine::WorkingMemory<ScoredRow>>;

struct SoundQuery {
  const sound::TypedSounds& typed;
  bool severalWords = false;      // the learner typed a blank: a phrase is no worse than a word
  std::size_t wanted = SIZE_MAX;  // the best headwords to list; SIZE_MAX: every one listed
  // No row scoring above this is wanted (another reading of the same text has as many
  // headwords as wanted at this score or better).
  std::uint32_t scoreLimit = UINT32_MAX;
  // The nearest rows whatever they cost, when none is within the near-sound cutoff: every
  // row may be listed, as a near-sound one, and the search stops at `deadline`, keeping the
  // best found by then.
  bool nearestAnyway = false;
  std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
};

// The prior of a row, in the units of sound::Cost: grows by the logarithm of its place.
sound::Cost rowPrior(std::uint32_t row, bool plainWord, bool severalWords);
// A row's score from its cost and prior: smaller comes first. A row that needs any slip at all
// pays a little more than its cost, so that a row of exactly the typed sounds loses only to a
// far commoner word.
std::uint32_t rowScore(sound::Cost cost, sound::Cost prior);
// The highest cost (without prior) at which a row that does not hold the typed sounds in
// order is still listed.
sound::Cost nearSoundCutoff(const sound::TypedSounds& typed);
// The fewest typed sounds such a row must hold in order: half of them, and at least one. A row
// that drops most of what was typed is no near sound, however cheap the sounds it drops.
std::size_t nearSoundHeld(const sound::TypedSounds& typed);

// The listed rows of `store`, one per headword (its best row), best first, into `out`. It
// visits the sound counts whose length bounds the cost least first, each band by band in table
// order, and reads a group the store has not read yet when it comes to it; it stops once no
// further count or band can hold a row better than the ones kept. A search that may weigh many rows
// shares them with a helper thread (engine/helper_thread.h); the list is the same. False when a
// group cannot be read.
bool rankRows(const quorvi::engine::RowStore& store, const SoundQuery& query, ScoredRows& out);
// How many rows a search must be able to weigh to share them (by default tens of thousands,
// where the helper pays), and how many rows one takes at a time. Tests set the first to 0
// (always share) or SIZE_MAX (never).
void setTwoLanes(std::size_t fromRows, std::size_t stretchRows = 4096);
