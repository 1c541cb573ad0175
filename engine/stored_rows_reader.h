// Reads the stored groups of rows by sound count (engine/sound_count_groups.h) from the
// dictionary: the directory when opened, then any group asked for. The row store
// (engine/row_store.h) is its one user, and keeps what it reads.
#pragma once

#include <memory>

#include "engine/sound_count_groups.h"

struct sqlite3;
struct sqlite3_blob;

namespace quorvi::engine {

class StoredRowsReader {
 public:
  StoredRowsReader() = default;
  ~StoredRowsReader();
  StoredRowsReader(const StoredRowsReader&) = delete;
  StoredRowsReader& operator=(const StoredRowsReader&) = delete;

  // Reads the directory. False when the dictionary stores no readable groups.
  bool open(sqlite3* db);
  bool isOpen() const { return db_ != nullptr; }
  const SoundGroupDirectory& directory() const { return directory_; }
  // The most memory every group read takes: the file holds their images.
  std::size_t mostMemory() const;
  // The group of `count` sounds in `band` (empty when it holds no row), read into `memory`;
  // null when it is damaged or cannot be read, or the reader is closed.
  std::unique_ptr<const SoundCountGroup> read(int count, int band, GroupMemory& memory);
  // Lets the connection go: it is closing, or every group is read.
  void close();

 private:
  sqlite3* db_ = nullptr;
  // Open from one group to the next, each read moving it: closed with the reader.
  sqlite3_blob* blob_ = nullptr;
  SoundGroupDirectory directory_;
  double storedBytes_ = 0;  // the file's size
};

}  // namespace quorvi::engine
