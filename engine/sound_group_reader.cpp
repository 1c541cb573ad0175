#include "engine/sound_group_reader.h"

#include <sqlite3.h>

#include <algorithm>
#include <string_view>

#include "engine/phonetic_index_store.h"

namespace quorvi::engine {

SoundGroupReader::~SoundGroupReader() {
  close();
}

void SoundGroupReader::close() {
  sqlite3_finalize(statement_);
  statement_ = nullptr;
  for (auto& group : groups_) group.reset();
}

bool SoundGroupReader::open(sqlite3* db, std::uint32_t storedRows) {
  close();
  std::fill(damaged_.begin(), damaged_.end(), 0);
  directory_ = SoundGroupDirectory();
  statement_ = prepareStoredBlobStatement(db);
  // The directory's count of rows must be the stored blocks' own, which are checked against
  // the table's size.
  const bool ok = statement_ != nullptr &&
                  readStoredBlob(statement_, kSoundGroupDirectoryKey, [&](std::string_view bytes) {
                    return directory_.parse(bytes, storedRows);
                  });
  if (!ok) close();
  return ok;
}

std::shared_ptr<const SoundCountGroup> SoundGroupReader::group(int count) {
  if (count < 0 || count > 255 || statement_ == nullptr) return nullptr;
  const auto at = static_cast<std::size_t>(count);
  if (!groups_[at] && !damaged_[at]) {
    auto group = std::make_shared<SoundCountGroup>();
    const std::uint32_t rows = directory_.groupRows[at];
    const bool read =
        rows == 0 || readStoredBlob(statement_, soundGroupKey(count), [&](std::string_view bytes) {
          return group->parse(bytes, count, rows, directory_.indexRows);
        });
    // The group's pages are not read again: they would only fill the page cache.
    if (rows != 0) sqlite3_db_release_memory(sqlite3_db_handle(statement_));
    if (read)
      groups_[at] = std::move(group);
    else
      damaged_[at] = 1;
  }
  return groups_[at];
}

}  // namespace quorvi::engine
