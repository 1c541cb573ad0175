#include "engine/stored_rows_reader.h"

#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <string_view>

namespace quorvi::engine {
namespace {

// The groups can hold no more than the file: its size is in its header, where the lengths of
// the groups would take a read of every page that holds the start of one.
const char kFileBytesSql[] =
    "SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()";

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

// The pages a group was read from are not read again: they would only fill the page cache.
// The pages that lead to each group are, so they stay until the cache holds a few hundred KiB.
void releaseReadPages(sqlite3* db) {
  int cached = 0, highest = 0;
  if (sqlite3_db_status(db, SQLITE_DBSTATUS_CACHE_USED, &cached, &highest, 0) != SQLITE_OK ||
      cached > kGroupPagesKept)
    sqlite3_db_release_memory(db);
}

// The image stored under `key`, read straight into room taken from `memory` (no copy in
// between); empty when there is none or it cannot be read. A long one is read a part at a
// time, the cache let go between parts, so that it never holds all of it. `blob`, when open,
// is moved to the image (no statement made again), else opened on it; it is left open for the
// next image, or closed (null) after a failure.
std::optional<std::string_view> readImage(sqlite3* db, sqlite3_blob*& blob, std::int64_t key,
                                          GroupMemory& memory) {
  constexpr int kPart = 128 * 1024;
  bool read = blob != nullptr ? sqlite3_blob_reopen(blob, key) == SQLITE_OK
                              : sqlite3_blob_open(db, "main", kStoredRowsTable, "data", key, 0,
                                                  &blob) == SQLITE_OK;
  char* bytes = nullptr;
  int size = 0;
  if (read) {
    size = sqlite3_blob_bytes(blob);
    bytes = memory.take<char>(static_cast<std::size_t>(size));
    for (int at = 0; read && at < size; at += kPart) {
      read = sqlite3_blob_read(blob, bytes + at, std::min(kPart, size - at), at) == SQLITE_OK;
      releaseReadPages(db);
    }
  }
  if (!read) {
    sqlite3_blob_close(blob);
    blob = nullptr;
    return std::nullopt;
  }
  return std::string_view(bytes, static_cast<std::size_t>(size));
}

}  // namespace

StoredRowsReader::~StoredRowsReader() {
  close();
}

void StoredRowsReader::close() {
  sqlite3_blob_close(blob_);
  blob_ = nullptr;
  db_ = nullptr;
}

bool StoredRowsReader::open(sqlite3* db) {
  close();
  directory_ = SoundGroupDirectory();
  double bytes = 0;
  GroupMemory memory(false);
  std::optional<std::string_view> image;
  if (db == nullptr || !fileBytes(db, bytes) ||
      !(image = readImage(db, blob_, kSoundGroupDirectoryKey, memory)) ||
      !directory_.parse(*image, bytes)) {
    close();
    directory_ = SoundGroupDirectory();
    return false;
  }
  db_ = db;
  storedBytes_ = bytes;
  return true;
}

std::size_t StoredRowsReader::mostMemory() const {
  const double groups = static_cast<double>(directory_.groupRows.size());
  return static_cast<std::size_t>(
      storedBytes_ + static_cast<double>(directory_.entries()) * SoundCountGroup::kTakenPerEntry +
      groups * SoundCountGroup::kTakenBesides);
}

std::unique_ptr<const SoundCountGroup> StoredRowsReader::read(int count, int band,
                                                              GroupMemory& memory) {
  if (db_ == nullptr || count < 0 || count > kMaxSoundCount || band < 0 || band >= directory_.bands)
    return nullptr;
  auto group = std::make_unique<SoundCountGroup>();
  const std::uint32_t rows = directory_.rowsOf(count, band);
  if (rows == 0) return group;
  const std::optional<std::string_view> image =
      readImage(db_, blob_, soundGroupKey(count, band), memory);
  const bool read = image && group->parse(*image, count, band, rows, directory_.tableRows, memory);
  if (!read) return nullptr;
  return group;
}

}  // namespace quorvi::engine
