// When the in-memory rows of the search by sound are read: ahead of time on another thread,
// or by the searches that need them.
#include <sqlite3.h>

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

#include <chrono>

#include "engine/background_thread_priority.h"
#include "engine/phonetic_dictionary.h"
#include "engine/phonetic_index.h"

void PhoneticDictionary::prepareSearchIndex(bool forLearner) {
  if (!isOpen_ || !hasRegexp_ || phoneticIndex_ || phoneticIndexFailed_ || indexWork_.valid())
    return;
  auto index = std::make_shared<PhoneticIndex>();
  const bool stored = index->openStored(sqliteDB_);
  // The connection is opened serialized, so both threads may use it; a library built without
  // threads leaves the reading to the searches.
  if (sqlite3_threadsafe() == 0) {
    if (stored) phoneticIndex_ = std::move(index);
    return;
  }
  stopIndexWork_ = false;
  PhoneticIndex* target = index.get();
  sqlite3* db = sqliteDB_;
  if (stored)
    phoneticIndex_ = std::move(index);
  else
    buildingIndex_ = std::move(index);
  // The learner's search reads headwords and sounds only; the search by pattern, the rest.
  const unsigned parts = forLearner ? quorvi::engine::kCaptionPart | quorvi::engine::kSoundPart
                                    : quorvi::engine::kAllParts;
  readAheadStarted_ = true;
  indexWork_ = std::async(std::launch::async, [this, target, db, stored, parts] {
    runBehindTheWindowsThread();
    const bool read = stored ? target->loadAllRows(&stopIndexWork_, parts)
                             : target->loadFromRows(db, &stopIndexWork_);
    // The pages the rows came from would stay in the page cache: as much again.
    if (!stored) sqlite3_db_release_memory(db);
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    return read;
  });
}

void PhoneticDictionary::stopIndexWork() {
  if (!indexWork_.valid()) return;
  stopIndexWork_ = true;
  indexWork_.wait();
  const bool built = indexWork_.get();
  if (buildingIndex_ && built) phoneticIndex_ = std::move(buildingIndex_);
  buildingIndex_.reset();
}

void PhoneticDictionary::adoptBuiltIndex(bool wait) {
  if (!buildingIndex_) return;
  if (!wait && indexWork_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
  phoneticIndex_ = indexWork_.get() ? std::move(buildingIndex_) : nullptr;
  phoneticIndexFailed_ = phoneticIndex_ == nullptr;
  buildingIndex_.reset();
}

bool PhoneticDictionary::searchIndexReadAhead() const {
  if (!readAheadStarted_) return false;
  if (!indexWork_.valid()) return true;  // its rows were taken already
  return indexWork_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

std::shared_ptr<const PhoneticIndex> PhoneticDictionary::completeSearchIndex() {
  if (!isOpen_ || !hasRegexp_) return nullptr;
  adoptBuiltIndex(true);
  PhoneticIndex* index = searchIndex();
  if (index == nullptr) return nullptr;
  // The learner's search reads headwords and sounds; the search by pattern reads its own part
  // when it first runs.
  if (!index->loadAllRows(nullptr, quorvi::engine::kCaptionPart | quorvi::engine::kSoundPart)) {
    // A damaged stored block: the table's rows make the same rows.
    stopIndexWork();
    auto rebuilt = std::make_shared<PhoneticIndex>();
    phoneticIndex_.reset();
    phoneticIndexFailed_ = !rebuilt->loadFromRows(sqliteDB_);
    if (phoneticIndexFailed_) return nullptr;
    phoneticIndex_ = std::move(rebuilt);
  }
  return phoneticIndex_;
}

std::shared_ptr<PhoneticIndex> PhoneticDictionary::partialSearchIndex() {
  if (!isOpen_ || !hasRegexp_) return nullptr;
  searchIndex();
  return phoneticIndex_;
}

PhoneticIndex* PhoneticDictionary::searchIndex() {
  adoptBuiltIndex(false);
  if (phoneticIndex_ || buildingIndex_ || phoneticIndexFailed_) return phoneticIndex_.get();
  auto index = std::make_shared<PhoneticIndex>();
  if (index->load(sqliteDB_))
    phoneticIndex_ = std::move(index);
  else
    phoneticIndexFailed_ = true;
  return phoneticIndex_.get();
}
