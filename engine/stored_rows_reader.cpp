#include "engine/stored_rows_reader.h"

#include <sqlite3.h>

#include <functional>
#include <string_view>

namespace quorvi::engine {
namespace {

const char kBlobSql[] = "SELECT data FROM dict_search_index WHERE block = ?";
// The groups can hold no more than the file: its size is in its header, where the lengths of
// the groups would take a read of every page that holds the start of one.
const char kFileBytesSql[] =
    "SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()";

// Steps `statement` for the blob of `key` and hands its bytes to `parse`; false when there is
// no such blob or `parse` refuses it.
bool readBlob(sqlite3_stmt* statement, std::int64_t key,
              const std::function<bool(std::string_view)>& parse) {
  sqlite3_bind_int64(statement, 1, key);
  bool ok = false;
  if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_type(statement, 0) == SQLITE_BLOB) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, 0));
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, 0));
    ok = parse(std::string_view(bytes ? bytes : "", size));
  }
  sqlite3_reset(statement);
  return ok;
}

// What the page cache may hold, in bytes, of the pages groups were read from.
constexpr int kGroupPagesKept = 256 * 1024;

// What the dictionary's file takes; nothing when it cannot be told.
bool fileBytes(sqlite3* db, double& bytes) {
  sqlite3_stmt* statement = nullptr;
  const bool ok = sqlite3_prepare_v2(db, kFileBytesSql, -1, &statement, nullptr) == SQLITE_OK &&
                  sqlite3_step(statement) == SQLITE_ROW;
  if (ok) bytes = sqlite3_column_double(statement, 0);
  sqlite3_finalize(statement);
  return ok;
}

}  // namespace

StoredRowsReader::~StoredRowsReader() {
  close();
}

void StoredRowsReader::close() {
  sqlite3_finalize(statement_);
  statement_ = nullptr;
}

bool StoredRowsReader::open(sqlite3* db) {
  close();
  directory_ = SoundGroupDirectory();
  double bytes = 0;
  if (db == nullptr || !fileBytes(db, bytes) ||
      sqlite3_prepare_v3(db, kBlobSql, -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr) !=
          SQLITE_OK) {
    close();
    return false;
  }
  if (!readBlob(statement_, kSoundGroupDirectoryKey,
                [&](std::string_view image) { return directory_.parse(image, bytes); })) {
    close();
    directory_ = SoundGroupDirectory();
    return false;
  }
  return true;
}

std::unique_ptr<const SoundCountGroup> StoredRowsReader::read(int count, int band) {
  if (statement_ == nullptr || count < 0 || count > kMaxSoundCount || band < 0 ||
      band >= directory_.bands)
    return nullptr;
  auto group = std::make_unique<SoundCountGroup>();
  const std::uint32_t rows = directory_.rowsOf(count, band);
  if (rows == 0) return group;
  // The blob is read straight into the memory the group keeps: no copy in between.
  sqlite3* db = sqlite3_db_handle(statement_);
  sqlite3_blob* blob = nullptr;
  bool read = sqlite3_blob_open(db, "main", kStoredRowsTable, "data", soundGroupKey(count, band), 0,
                                &blob) == SQLITE_OK;
  if (read) {
    const int bytes = sqlite3_blob_bytes(blob);
    auto image = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(bytes));
    read = sqlite3_blob_read(blob, image.get(), bytes, 0) == SQLITE_OK &&
           group->parse(std::move(image), static_cast<std::size_t>(bytes), count, band, rows,
                        directory_.tableRows);
  }
  sqlite3_blob_close(blob);
  // The group's pages are not read again: they would only fill the page cache. The pages that
  // lead to each group are, so they stay until the cache holds a few hundred KiB.
  int cached = 0, highest = 0;
  if (sqlite3_db_status(db, SQLITE_DBSTATUS_CACHE_USED, &cached, &highest, 0) != SQLITE_OK ||
      cached > kGroupPagesKept)
    sqlite3_db_release_memory(db);
  if (!read) return nullptr;
  return group;
}

}  // namespace quorvi::engine
