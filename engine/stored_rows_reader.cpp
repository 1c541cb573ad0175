#include "engine/stored_rows_reader.h"

#include <sqlite3.h>

#include <algorithm>
#include <string_view>

#include "engine/fresh_memory.h"

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

// A stored image, read straight into memory of its own: no copy in between.
struct Image {
  std::unique_ptr<char[]> bytes;
  std::size_t size = 0;
};

// The image stored under `key`; false when there is none or it cannot be read. A long one is
// read a part at a time, the cache let go between parts, so that it never holds all of it.
// `blob`, when open, is moved to the image (no statement made again), else opened on it; it is
// left open for the next image, or closed (null) after a failure.
bool readImage(sqlite3* db, sqlite3_blob*& blob, std::int64_t key, Image& image) {
  constexpr int kPart = 128 * 1024;
  bool read = blob != nullptr ? sqlite3_blob_reopen(blob, key) == SQLITE_OK
                              : sqlite3_blob_open(db, "main", kStoredRowsTable, "data", key, 0,
                                                  &blob) == SQLITE_OK;
  if (read) {
    const int size = sqlite3_blob_bytes(blob);
    image.bytes = freshArray<char>(static_cast<std::size_t>(size));
    image.size = static_cast<std::size_t>(size);
    for (int at = 0; read && at < size; at += kPart) {
      read = sqlite3_blob_read(blob, image.bytes.get() + at, std::min(kPart, size - at), at) ==
             SQLITE_OK;
      releaseReadPages(db);
    }
  }
  if (!read) {
    sqlite3_blob_close(blob);
    blob = nullptr;
  }
  return read;
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
  Image image;
  if (db == nullptr || !fileBytes(db, bytes) ||
      !readImage(db, blob_, kSoundGroupDirectoryKey, image) ||
      !directory_.parse(std::string_view(image.bytes.get(), image.size), bytes)) {
    close();
    directory_ = SoundGroupDirectory();
    return false;
  }
  db_ = db;
  return true;
}

std::unique_ptr<const SoundCountGroup> StoredRowsReader::read(int count, int band) {
  if (db_ == nullptr || count < 0 || count > kMaxSoundCount || band < 0 || band >= directory_.bands)
    return nullptr;
  auto group = std::make_unique<SoundCountGroup>();
  const std::uint32_t rows = directory_.rowsOf(count, band);
  if (rows == 0) return group;
  Image image;
  const bool read =
      readImage(db_, blob_, soundGroupKey(count, band), image) &&
      group->parse(std::move(image.bytes), image.size, count, band, rows, directory_.tableRows);
  if (!read) return nullptr;
  return group;
}

}  // namespace quorvi::engine
