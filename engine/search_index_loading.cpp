// When the in-memory rows of the search by sound are read: ahead of time on another thread,
// or by the first search that needs them.
#include <sqlite3.h>

#include "engine/phonetic_dictionary.h"
#include "engine/phonetic_index.h"

namespace {

std::unique_ptr<PhoneticIndex> readSearchIndex(sqlite3* db) {
  auto index = std::make_unique<PhoneticIndex>();
  if (index->load(db) && index->loadAllRows()) return index;
  return nullptr;
}

}  // namespace

void PhoneticDictionary::prepareSearchIndex() {
  if (!isOpen_ || !hasRegexp_ || phoneticIndex_ || phoneticIndexFailed_ || pendingIndex_.valid())
    return;
  // The connection is opened serialized, so both threads may use it; a library built without
  // threads reads the rows here.
  if (sqlite3_threadsafe() == 0) {
    phoneticIndex_ = readSearchIndex(sqliteDB_);
    phoneticIndexFailed_ = phoneticIndex_ == nullptr;
    return;
  }
  pendingIndex_ = std::async(std::launch::async, readSearchIndex, sqliteDB_);
}

PhoneticIndex* PhoneticDictionary::searchIndex() {
  if (pendingIndex_.valid()) {
    phoneticIndex_ = pendingIndex_.get();
    phoneticIndexFailed_ = phoneticIndex_ == nullptr;
  }
  if (!phoneticIndex_ && !phoneticIndexFailed_) {
    auto index = std::make_unique<PhoneticIndex>();
    if (index->load(sqliteDB_))
      phoneticIndex_ = std::move(index);
    else
      phoneticIndexFailed_ = true;
  }
  return phoneticIndex_.get();
}
