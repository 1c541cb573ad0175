#include "engine/sound_group_reader.h"

#include <sqlite3.h>

#include <string_view>

#include "engine/phonetic_index_store.h"

namespace quorvi::engine {
namespace {

const char kGroupSql[] = "SELECT data FROM dict_search_index WHERE block = ?";

}  // namespace

SoundGroupReader::~SoundGroupReader() {
  close();
}

void SoundGroupReader::close() {
  sqlite3_finalize(statement_);
  statement_ = nullptr;
}

bool SoundGroupReader::open(sqlite3* db) {
  close();
  if (sqlite3_prepare_v3(db, kGroupSql, -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr) !=
      SQLITE_OK) {
    close();
    return false;
  }
  bool ok = false;
  sqlite3_bind_int64(statement_, 1, kSoundGroupDirectoryKey);
  if (sqlite3_step(statement_) == SQLITE_ROW && sqlite3_column_type(statement_, 0) == SQLITE_BLOB) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_, 0));
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement_, 0));
    ok = directory_.parse(std::string_view(bytes ? bytes : "", size));
  }
  sqlite3_reset(statement_);
  if (!ok) close();
  return ok;
}

const SoundCountGroup* SoundGroupReader::group(int count) {
  if (count < 0 || count > 255) return nullptr;
  const auto at = static_cast<std::size_t>(count);
  if (state_[at] == 0) {
    state_[at] = 2;
    const std::uint32_t rows = directory_.groupRows[at];
    if (rows == 0) {
      state_[at] = 1;
    } else if (statement_ != nullptr) {
      sqlite3_bind_int64(statement_, 1, soundGroupKey(count));
      if (sqlite3_step(statement_) == SQLITE_ROW &&
          sqlite3_column_type(statement_, 0) == SQLITE_BLOB) {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_, 0));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement_, 0));
        if (groups_[at].parse(std::string_view(bytes ? bytes : "", size), count, rows,
                              directory_.indexRows))
          state_[at] = 1;
      }
      sqlite3_reset(statement_);
      // The group's pages are not read again: they would only fill the page cache.
      sqlite3_db_release_memory(sqlite3_db_handle(statement_));
    }
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
