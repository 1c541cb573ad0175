#include "engine/row_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/table_sound_groups.h"

namespace quorvi::engine {

std::shared_ptr<RowStore> RowStore::open(sqlite3* db) {
  if (db == nullptr) return nullptr;
  std::shared_ptr<RowStore> store(new RowStore());
  store->db_ = db;
  if (store->reader_.open(db)) {
    store->setDirectory(store->reader_.directory());
    store->memory_.reserve(store->reader_.mostMemory());
  } else
    store->fromTable_ = true;
  return store;
}

void RowStore::setDirectory(const SoundGroupDirectory& directory) const {
  directory_ = directory;
  const std::size_t slotCount = static_cast<std::size_t>(kMaxSoundCount + 1) * directory_.bands;
  starts_.assign(slotCount + 1, 0);
  countRows_.assign(kMaxSoundCount + 1, 0);
  Place place = 0;
  for (int count = 0; count <= kMaxSoundCount; ++count)
    for (int band = 0; band < directory_.bands; ++band) {
      starts_[slot(count, band)] = place;
      place += directory_.rowsOf(count, band);
      countRows_[static_cast<std::size_t>(count)] += directory_.rowsOf(count, band);
    }
  starts_[slotCount] = place;
  owned_.clear();
  owned_.resize(slotCount);
  groups_ = std::make_unique<std::atomic<const SoundCountGroup*>[]>(slotCount);
}

bool RowStore::madeFromTable(const std::atomic<bool>* stop) const {
  if (complete()) return true;
  const std::lock_guard<std::mutex> lock(readerMutex_);
  if (complete_.load(std::memory_order_relaxed)) return true;
  if (failed() || db_ == nullptr) return false;
  SoundGroups groups;
  if (!makeSoundGroups(db_, groups, stop)) {
    if (stop == nullptr || !stop->load(std::memory_order_relaxed))
      failed_.store(true, std::memory_order_release);
    return false;
  }
  setDirectory(groups.directory);
  for (std::size_t s = 0; s < owned_.size(); ++s) {
    const int count = static_cast<int>(s / static_cast<std::size_t>(directory_.bands));
    const int band = static_cast<int>(s % static_cast<std::size_t>(directory_.bands));
    SoundGroupWriter& made = groups.groups[s];
    auto group = std::make_unique<SoundCountGroup>();
    const std::string image = made.serialise(count);
    char* copy = memory_.take<char>(image.size());
    std::copy(image.begin(), image.end(), copy);
    if (!group->parse({copy, image.size()}, count, band, directory_.rowsOf(count, band),
                      directory_.tableRows, memory_)) {
      failed_.store(true, std::memory_order_release);
      return false;
    }
    made = SoundGroupWriter();
    owned_[s] = std::move(group);
    groups_[s].store(owned_[s].get(), std::memory_order_release);
  }
  if (!layOutTableOrder()) return false;
  // The pages the rows came from would stay in the page cache: as much again.
  sqlite3_db_release_memory(db_);
  return true;
}

std::uint32_t RowStore::rowCount() const {
  if (fromTable_ && !madeFromTable()) return 0;
  return directory_.tableRows;
}

std::uint32_t RowStore::americanEntries() const {
  if (fromTable_ && !madeFromTable()) return 0;
  return directory_.americanRows;
}

int RowStore::bands() const {
  if (fromTable_ && !madeFromTable()) return 0;
  return directory_.bands;
}

std::uint32_t RowStore::rowsWithCount(int count) const {
  if (count < 0 || count > kMaxSoundCount || (fromTable_ && !madeFromTable())) return 0;
  return countRows_[static_cast<std::size_t>(count)];
}

std::uint32_t RowStore::rowsIn(int count, int band) const {
  if (count < 0 || count > kMaxSoundCount || (fromTable_ && !madeFromTable()) || band < 0 ||
      band >= directory_.bands)
    return 0;
  return directory_.rowsOf(count, band);
}

const SoundCountGroup* RowStore::group(int count, int band) const {
  return readGroup(count, band, true);
}

const SoundCountGroup* RowStore::readGroup(int count, int band, bool bySearch) const {
  if (count < 0 || count > kMaxSoundCount || band < 0) return nullptr;
  if (fromTable_ && !madeFromTable()) return nullptr;
  if (band >= directory_.bands) return nullptr;
  const std::size_t at = slot(count, band);
  if (const SoundCountGroup* read = groups_[at].load(std::memory_order_acquire)) return read;
  if (bySearch) searchesWaiting_.fetch_add(1);
  std::unique_lock<std::mutex> lock(readerMutex_);
  if (bySearch) searchesWaiting_.fetch_sub(1);
  if (const SoundCountGroup* read = groups_[at].load(std::memory_order_relaxed)) return read;
  if (!reader_.isOpen()) return nullptr;
  owned_[at] = reader_.read(count, band, memory_);
  if (!owned_[at]) {
    failed_.store(true, std::memory_order_release);
    return nullptr;
  }
  groups_[at].store(owned_[at].get(), std::memory_order_release);
  return owned_[at].get();
}

std::size_t RowStore::slotOfPlace(Place place) const {
  return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), place) -
                                  starts_.begin() - 1);
}

RowStore::Row RowStore::at(Place place) const {
  if (starts_.empty() || place >= starts_.back()) return {};
  const std::size_t at = slotOfPlace(place);
  return {groups_[at].load(std::memory_order_acquire), place - starts_[at]};
}

std::string RowStore::caption(Place place) const {
  Row row = at(place);
  // A row found by its American entry stands at its British one, whose group no search may
  // have needed yet.
  if (row.group == nullptr && !starts_.empty() && place < starts_.back()) {
    const std::size_t slotOf = slotOfPlace(place);
    readGroup(static_cast<int>(slotOf / static_cast<std::size_t>(directory_.bands)),
              static_cast<int>(slotOf % static_cast<std::size_t>(directory_.bands)), true);
    row = at(place);
  }
  if (row.group == nullptr) return {};
  return std::string(row.caption());
}

bool RowStore::readAll(const std::atomic<bool>* stop, bool behindSearches) const {
  if (complete()) return true;
  if (fromTable_) return madeFromTable(stop);
  for (int count = 0; count <= kMaxSoundCount; ++count)
    for (int band = 0; band < directory_.bands; ++band) {
      if (stop != nullptr && stop->load(std::memory_order_relaxed)) return false;
      // A mutex lets the thread that just let it go take it again first: a search waiting for
      // it would wait for every group this thread reads.
      while (behindSearches && searchesWaiting_.load() > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(100));
      if (readGroup(count, band, false) == nullptr) return false;
    }
  const std::lock_guard<std::mutex> lock(readerMutex_);
  if (complete_.load(std::memory_order_relaxed)) return true;
  if (!layOutTableOrder()) return false;
  // Every group is in: nothing is read from the dictionary again.
  reader_.close();
  return true;
}

bool RowStore::layOutTableOrder() const {
  constexpr std::uint32_t kNotSeen = UINT32_MAX;
  slotOfRow_.assign(directory_.tableRows, 0);
  indexOfRow_.assign(directory_.tableRows, kNotSeen);
  for (std::size_t s = 0; s < owned_.size(); ++s) {
    const SoundCountGroup& group = *owned_[s];
    for (std::size_t i = 0; i < group.size(); ++i) {
      if (group.isAmerican(i)) continue;
      // The groups hold as many rows as the table: a row in two groups leaves another in none.
      if (indexOfRow_[group.row(i)] != kNotSeen) {
        slotOfRow_ = {}, indexOfRow_ = {};
        failed_.store(true, std::memory_order_release);
        return false;
      }
      slotOfRow_[group.row(i)] = static_cast<std::uint16_t>(s);
      indexOfRow_[group.row(i)] = static_cast<std::uint32_t>(i);
    }
  }
  // Every row in a group, and each American entry pointing at its row's British entry.
  bool holdsEach = std::find(indexOfRow_.begin(), indexOfRow_.end(), kNotSeen) == indexOfRow_.end();
  for (std::size_t s = 0; holdsEach && s < owned_.size(); ++s) {
    const SoundCountGroup& group = *owned_[s];
    for (std::size_t i = 0; holdsEach && i < group.size(); ++i)
      holdsEach = !group.isAmerican(i) || group.britishPlace(i) == placeInTable(group.row(i));
  }
  if (!holdsEach) {
    slotOfRow_ = {}, indexOfRow_ = {};
    failed_.store(true, std::memory_order_release);
    return false;
  }
  complete_.store(true, std::memory_order_release);
  return true;
}

void RowStore::close() const {
  const std::lock_guard<std::mutex> lock(readerMutex_);
  reader_.close();
  db_ = nullptr;
}

}  // namespace quorvi::engine
