// The learner's rows in memory: the one store that the learner's search by sound (the closest
// rows) and by spelling (every headword) read, made of the groups by sound count the
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

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include <QString>

#include "engine/sound_count_groups.h"
#include "engine/stored_rows_reader.h"

struct sqlite3;

namespace quorvi::engine {

class RowStore {
 public:
  // A row of the store: the group of its sound count and its index there.
  struct Row {
    const SoundCountGroup* group = nullptr;
    std::size_t index = 0;
    std::string_view caption() const { return group->caption(index); }
  };
  // Where a row stands in the store, counts in rising order and table order within each: one
  // number, which a list of results keeps.
  using Place = std::uint32_t;

  // The store of the rows `db` stores, its directory read, or of the rows of its table when it
  // stores none. `db` must stay open while the store reads (until close()).
  static std::shared_ptr<RowStore> open(sqlite3* db);

  // Rows of the table (each has a headword), and those of `count` sounds. With no stored
  // groups, these make the groups from the table first.
  std::uint32_t rowCount() const;
  std::uint32_t rowsWithCount(int count) const;
  // The group of `count` sounds, read on first use; null when it cannot be read (from then on
  // failed() is true) or the store is closed before it was read.
  const SoundCountGroup* group(int count) const;
  Place placeOf(int count, std::size_t index) const {
    return starts_[static_cast<std::size_t>(count)] + static_cast<Place>(index);
  }
  // The row at `place`, whose group a search has read.
  Row at(Place place) const;
  QString caption(Place place) const;

  // Reads every group not read yet, then where each row of the table stands. False when a
  // group cannot be read or `stop` is set. Any thread may run it, and several at once.
  bool readAll(const std::atomic<bool>* stop = nullptr) const;
  bool complete() const { return complete_.load(std::memory_order_acquire); }
  bool failed() const { return failed_.load(std::memory_order_acquire); }
  // Table row `row` (below rowCount()), once complete.
  Row rowInTable(std::uint32_t row) const {
    return {groups_[countOfRow_[row]].load(std::memory_order_relaxed), indexOfRow_[row]};
  }
  Place placeInTable(std::uint32_t row) const { return placeOf(countOfRow_[row], indexOfRow_[row]); }

  // The connection is closing: groups not read by now stay unread.
  void close() const;

 private:
  RowStore() = default;
  // Sets the directory and where each group starts.
  void setDirectory(const SoundGroupDirectory& directory) const;
  // With no stored groups: makes them all from the table, once (false when they cannot be, or
  // `stop` was set meanwhile).
  bool madeFromTable(const std::atomic<bool>* stop = nullptr) const;
  // Lays out where each row of the table stands, every group read; false (and failed) when
  // the groups do not hold each row once. Under readerMutex_.
  bool layOutTableOrder() const;

  mutable sqlite3* db_ = nullptr;  // null once closed
  bool fromTable_ = false;  // the dictionary stores no groups
  mutable StoredRowsReader reader_;
  mutable SoundGroupDirectory directory_;
  // Group `c` holds places starts_[c] up to starts_[c + 1].
  mutable std::array<Place, kMaxSoundCount + 2> starts_{};
  mutable std::mutex readerMutex_;  // held while a group is read or the table order laid out
  mutable std::array<std::unique_ptr<const SoundCountGroup>, kMaxSoundCount + 1> owned_;
  mutable std::array<std::atomic<const SoundCountGroup*>, kMaxSoundCount + 1> groups_{};
  mutable std::atomic<bool> failed_{false};
  mutable std::atomic<bool> complete_{false};
  // Per table row, once complete: its sound count and its index in that count's group.
  mutable std::vector<std::uint8_t> countOfRow_;
  mutable std::vector<std::uint32_t> indexOfRow_;
};

}  // namespace quorvi::engine
