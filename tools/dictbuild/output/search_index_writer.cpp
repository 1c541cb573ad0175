#include "search_index_writer.h"

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/sound_count_groups.h"
#include "engine/table_sound_groups.h"

namespace quorvi::dictbuild {
namespace {

const char kIndexSchema[] =
    "CREATE TABLE dict_search_index(block INTEGER PRIMARY KEY, data BLOB NOT NULL);";
const char kInsertSql[] = "INSERT INTO dict_search_index(block, data) VALUES(?1, ?2)";

// The stored blobs by key; false when there is no such table or it is empty.
bool readStoredBlobs(sqlite3* db, std::map<std::int64_t, std::string>& blobs) {
  sqlite3_stmt* select = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT block, data FROM dict_search_index", -1, &select, nullptr) !=
      SQLITE_OK)
    return false;
  while (sqlite3_step(select) == SQLITE_ROW) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(select, 1));
    blobs.emplace(
        sqlite3_column_int64(select, 0),
        std::string(bytes ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(select, 1))));
  }
  sqlite3_finalize(select);
  return !blobs.empty();
}

// Whether `table` of `db` has the column `column`.
bool hasColumn(sqlite3* db, const std::string& table, const char* column) {
  sqlite3_stmt* select = nullptr;
  bool has = false;
  if (sqlite3_prepare_v2(db, "SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2", -1, &select,
                         nullptr) == SQLITE_OK) {
    sqlite3_bind_text(select, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(select, 2, column, -1, SQLITE_TRANSIENT);
    has = sqlite3_step(select) == SQLITE_ROW;
  }
  sqlite3_finalize(select);
  return has;
}

// Triggers that empty the stored rows when a row of `table` is added, removed, or changed in
// one of `columns`; `name` tells them apart.
std::string staleTriggersOn(const std::string& table, const std::string& name,
                            const std::string& columns) {
  std::string sql;
  const std::string events[][2] = {
      {"insert", "INSERT"}, {"delete", "DELETE"}, {"update", "UPDATE OF " + columns}};
  for (const auto& [event, clause] : events)
    sql += "CREATE TRIGGER dict_search_index_stale_" + name + event + " AFTER " + clause + " ON " +
           table + " BEGIN DELETE FROM dict_search_index; END;";
  return sql;
}

// The triggers on the rows' table and, where the American transcriptions are a table of their
// own, on that: the stored rows hold both.
std::string staleTriggers(sqlite3* db, const std::string& table) {
  const bool americanBeside = hasColumn(db, table, "w_phonetic_us");
  std::string sql = staleTriggersOn(
      table, "",
      americanBeside ? "w_caption, w_phonetic, w_phonetic_us, w_us_by_machine"
                     : "w_caption, w_phonetic");
  if (!americanBeside && hasColumn(db, "dict_american", "w_phonetic_us"))
    sql += staleTriggersOn("dict_american", "american_", "w_phonetic_us, w_us_by_machine");
  return sql;
}

bool insertBlob(sqlite3_stmt* insert, long long block, const std::string& bytes) {
  sqlite3_bind_int64(insert, 1, block);
  sqlite3_bind_blob64(insert, 2, bytes.data(), bytes.size(), SQLITE_STATIC);
  const bool ok = sqlite3_step(insert) == SQLITE_DONE;
  sqlite3_reset(insert);
  return ok;
}

// The blobs to store: the directory and each group that holds rows, by key.
std::map<std::int64_t, std::string> blobsOf(const engine::SoundGroups& groups) {
  std::map<std::int64_t, std::string> blobs;
  blobs.emplace(engine::kSoundGroupDirectoryKey, groups.directory.serialise());
  const int bands = groups.directory.bands;
  for (int count = 0; count <= engine::kMaxSoundCount; ++count)
    for (int band = 0; band < bands; ++band)
      if (const auto& group = groups.groups[static_cast<std::size_t>(count * bands + band)];
          group.size() != 0)
        blobs.emplace(engine::soundGroupKey(count, band), group.serialise(count));
  return blobs;
}

bool insertBlobs(sqlite3* db, const std::map<std::int64_t, std::string>& blobs) {
  sqlite3_stmt* insert = nullptr;
  if (sqlite3_prepare_v2(db, kInsertSql, -1, &insert, nullptr) != SQLITE_OK) return false;
  bool ok = true;
  for (const auto& [key, bytes] : blobs) ok = ok && insertBlob(insert, key, bytes);
  sqlite3_finalize(insert);
  return ok;
}

}  // namespace

bool writeSearchIndex(sqlite3* db, const char* rowTable, std::string& error) {
  engine::SoundGroups groups;
  const bool ok =
      engine::makeSoundGroups(db, groups) &&
      sqlite3_exec(db, kIndexSchema, nullptr, nullptr, nullptr) == SQLITE_OK &&
      insertBlobs(db, blobsOf(groups)) &&
      sqlite3_exec(db, staleTriggers(db, rowTable).c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  if (!ok) error = std::string("cannot write the search index: ") + sqlite3_errmsg(db);
  return ok;
}

StoredSearchRows checkSearchIndex(sqlite3* db) {
  std::map<std::int64_t, std::string> blobs;
  if (!readStoredBlobs(db, blobs)) return StoredSearchRows::Absent;
  engine::SoundGroups groups;
  if (!engine::makeSoundGroups(db, groups)) return StoredSearchRows::Unreadable;
  return blobs == blobsOf(groups) ? StoredSearchRows::Matching : StoredSearchRows::Differing;
}

const char* describe(StoredSearchRows state) {
  switch (state) {
    case StoredSearchRows::Absent:
      return "none (searches read the table's rows)";
    case StoredSearchRows::Matching:
      return "match the rows";
    case StoredSearchRows::Differing:
      return "DIFFER FROM THE ROWS";
    case StoredSearchRows::Unreadable:
      return "cannot be compared: the rows cannot be read";
  }
  return "";
}

}  // namespace quorvi::dictbuild
