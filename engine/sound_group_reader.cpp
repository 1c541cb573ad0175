#include "engine/sound_group_reader.h"

#include <sqlite3.h>

#include <string_view>

#include "engine/phonetic_index_store.h"

namespace quorvi::engine {

SoundGroupReader::~SoundGroupReader() {
  close();
}

void SoundGroupReader::close() {
  sqlite3_finalize(statement_);
  statement_ = nullptr;
}

bool SoundGroupReader::open(sqlite3* db) {
  close();
  // The directory's count of rows must be the stored blocks' own, which are checked against
  // the table's size.
  std::uint32_t storedRows = 0, blockRows = 0;
  {
    StoredIndexReader blocks;
    SymbolCatalog catalog;
    if (!blocks.open(db, catalog, storedRows, blockRows)) return false;
  }
  statement_ = prepareStoredBlobStatement(db);
  const bool ok = statement_ != nullptr &&
                  readStoredBlob(statement_, kSoundGroupDirectoryKey, [&](std::string_view bytes) {
                    return directory_.parse(bytes, storedRows);
                  });
  if (!ok) close();
  return ok;
}

const SoundCountGroup* SoundGroupReader::group(int count) {
  if (count < 0 || count > 255) return nullptr;
  const auto at = static_cast<std::size_t>(count);
  if (state_[at] == 0) {
    const std::uint32_t rows = directory_.groupRows[at];
    const bool read =
        rows == 0 || (statement_ != nullptr &&
                      readStoredBlob(statement_, soundGroupKey(count), [&](std::string_view bytes) {
                        return groups_[at].parse(bytes, count, rows, directory_.indexRows);
                      }));
    state_[at] = read ? 1 : 2;
    // The group's pages are not read again: they would only fill the page cache.
    if (rows != 0 && statement_ != nullptr)
      sqlite3_db_release_memory(sqlite3_db_handle(statement_));
  }
  return state_[at] == 1 ? &groups_[at] : nullptr;
}
std::pair<const SoundCountGroup*, std::size_t> SoundGroupReader::findRead(std::uint32_t row) const {
  for (std::size_t count = 0; count < groups_.size(); ++count) {
    if (state_[count] != 1) continue;
    const std::size_t at = groups_[count].find(row);
    if (at != groups_[count].size()) return {&groups_[count], at};
  }
  return {nullptr, 0};
}

}  // namespace quorvi::engine
