// The learner's rows in memory: the one store that the learner's search by sound (the closest
// rows) and by spelling (every headword) read, made of the groups by sound count and band the
// dictionary builder stores (engine/sound_count_groups.h), read through their reader
// (engine/stored_rows_reader.h).
//
// A group is read when a search first needs it, by whichever thread asks first, one group at a
// time, and never changes after. Once every group is in (readAll: the read-ahead thread of the
// window, or the first search that needs every row) the store also knows where each row of the
// table stands, for the searches that go in table order; it is then complete and lets its
// reader go. A search before the store is complete and after runs the same code over the same
// store: only what it finds unread is read first.
//
// A dictionary changed after it was built stores no groups (its triggers emptied them): the
// same groups are then made from the table's rows (engine/table_sound_groups.h), all at once,
// by whichever thread needs the first of them.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "engine/group_memory.h"
#include "engine/sound_count_groups.h"
#include "engine/stored_rows_reader.h"

struct sqlite3;

namespace quorvi::engine {

class RowStore {
 public:
  // A row of the store: its group and its index there.
  struct Row {
    const SoundCountGroup* group = nullptr;
    std::size_t index = 0;
    std::string_view caption() const { return group->caption(index); }
  };
  // Where a row stands in the store, groups by count and band in rising order and table order
  // within each: one number, which a list of results keeps.
  using Place = std::uint32_t;

  // The store of the rows `db` stores, its directory read, or of the rows of its table when it
  // stores none. `db` must stay open while the store reads (until close()).
  static std::shared_ptr<RowStore> open(sqlite3* db);

  // Rows of the table (each has a headword); the bands they take; the rows of `count` sounds,
  // and those of them in `band`. With no stored groups, these make the groups from the table
  // first.
  std::uint32_t rowCount() const;
  // American entries besides the rows (engine/sound_count_groups.h).
  std::uint32_t americanEntries() const;
  int bands() const;
  std::uint32_t rowsWithCount(int count) const;
  std::uint32_t rowsIn(int count, int band) const;
  // The group of `count` sounds in `band`, read on first use; null when it cannot be read
  // (from then on failed() is true) or the store is closed before it was read.
  const SoundCountGroup* group(int count, int band) const;
  Place placeOf(int count, int band, std::size_t index) const {
    return starts_[slot(count, band)] + static_cast<Place>(index);
  }
  // The row at `place`, whose group a search has read.
  Row at(Place place) const;
  // The headword (UTF-8) at `place`, reading its group when no search has; empty past the end.
  std::string caption(Place place) const;

  // Reads every group not read yet, then where each row of the table stands. False when a
  // group cannot be read or `stop` is set. Any thread may run it, and several at once.
  // `behindSearches` (the read-ahead): before each group, it lets every search that waits to
  // read one go first, so that a keystroke waits for one group at most.
  bool readAll(const std::atomic<bool>* stop = nullptr, bool behindSearches = false) const;
  bool complete() const { return complete_.load(std::memory_order_acquire); }
  bool failed() const { return failed_.load(std::memory_order_acquire); }
  // Table row `row` (below rowCount()), once complete.
  Row rowInTable(std::uint32_t row) const {
    return {groups_[slotOfRow_[row]].load(std::memory_order_relaxed), indexOfRow_[row]};
  }
  Place placeInTable(std::uint32_t row) const {
    return starts_[slotOfRow_[row]] + indexOfRow_[row];
  }

  // The connection is closing: groups not read by now stay unread.
  void close() const;

 private:
  RowStore() = default;
  std::size_t slot(int count, int band) const {
    return static_cast<std::size_t>(count) * static_cast<std::size_t>(directory_.bands) +
           static_cast<std::size_t>(band);
  }
  // The slot of the group that holds `place` (below the last start).
  std::size_t slotOfPlace(Place place) const;
  // Sets the directory, where each group starts and its slots.
  void setDirectory(const SoundGroupDirectory& directory) const;
  // With no stored groups: makes them all from the table, once (false when they cannot be, or
  // `stop` was set meanwhile).
  bool madeFromTable(const std::atomic<bool>* stop = nullptr) const;
  // Lays out where each row of the table stands, every group read; false (and failed) when
  // the groups do not hold each row once. Under readerMutex_.
  bool layOutTableOrder() const;
  // group(), by a search (counted among those waiting to read) or by readAll.
  const SoundCountGroup* readGroup(int count, int band, bool bySearch) const;

  mutable sqlite3* db_ = nullptr;  // null once closed
  bool fromTable_ = false;         // the dictionary stores no groups
  mutable StoredRowsReader reader_;
  mutable SoundGroupDirectory directory_;
  // Group `s` (slot(count, band)) holds places starts_[s] up to starts_[s + 1].
  mutable std::vector<Place> starts_;
  mutable std::vector<std::uint32_t> countRows_;  // rows by count, all bands
  mutable std::mutex readerMutex_;  // held while a group is read or the table order laid out
  // What the groups are read into, under readerMutex_: it outlives them.
  mutable GroupMemory memory_;
  mutable std::vector<std::unique_ptr<const SoundCountGroup>> owned_;
  mutable std::unique_ptr<std::atomic<const SoundCountGroup*>[]> groups_;
  mutable std::atomic<int> searchesWaiting_{0};
  mutable std::atomic<bool> failed_{false};
  mutable std::atomic<bool> complete_{false};
  // Per table row, once complete: its group's slot and its index there.
  mutable std::vector<std::uint16_t> slotOfRow_;
  mutable std::vector<std::uint32_t> indexOfRow_;
};

}  // namespace quorvi::engine
