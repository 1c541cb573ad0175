// Where the phonetic index comes from: the compact copy the dictionary builder stores in the
// dictionary, read a block at a time, or else the rows of the table themselves.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "engine/phonetic_index_block.h"
#include "engine/sound_count_groups.h"

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_blob;

namespace quorvi::engine {

// The table of the stored copy: block 0 is the catalog, blocks 1.. hold the rows in order
// (their headwords and what the search by pattern reads); the negative keys hold what the
// learner's search reads, grouped by sound count (engine/sound_count_groups.h).
inline constexpr char kIndexTable[] = "dict_search_index";
inline constexpr std::uint32_t kIndexBlockRows = 8192;
// Changes whenever what is stored changes, so that dictionaries are built again.
inline constexpr int kIndexFormat = 4;

// The whole index in memory.
struct IndexImage {
  SymbolCatalog catalog;
  std::vector<IndexBlock> blocks;
  std::uint32_t rowCount = 0;
  SoundGroups groups;  // made from the table's rows; a stored copy's are read apart
};

// The statement that reads one stored blob by its key; null when the dictionary has no
// stored copy's table.
sqlite3_stmt* prepareStoredBlobStatement(sqlite3* db);
// Steps `statement` (from prepareStoredBlobStatement) for the blob of `key` and hands its bytes
// to `parse`; false when there is no such blob or `parse` refuses it.
bool readStoredBlob(sqlite3_stmt* statement, std::int64_t key,
                    const std::function<bool(std::string_view)>& parse);

// Reads every row the search statement reads (same table access, same order) without the
// REGEXP function, so that no time budget of the module cuts it short. False when it cannot,
// or once `stop` is set.
bool buildIndexFromRows(sqlite3* db, IndexImage& image, const std::atomic<bool>* stop = nullptr);

// Reads the stored copy of the index block by block.
class StoredIndexReader {
 public:
  StoredIndexReader() = default;
  ~StoredIndexReader();
  StoredIndexReader(const StoredIndexReader&) = delete;
  StoredIndexReader& operator=(const StoredIndexReader&) = delete;

  // Reads the catalog. False when the dictionary holds no readable stored copy, or the
  // catalog counts more rows than the stored blocks can hold.
  bool open(sqlite3* db, SymbolCatalog& catalog, std::uint32_t& rowCount, std::uint32_t& blockRows);
  // Reads `parts` (of kBlockParts) of block `number` (0-based) of `expectedRows` rows,
  // straight from the blob's pages. False when it is missing or damaged.
  bool read(size_t number, size_t expectedRows, unsigned parts, const SymbolCatalog& catalog,
            IndexBlock& block);
  void close();

 private:
  // Row blocks in the table and the bytes they hold; false when they cannot be counted.
  static bool storedBlocks(sqlite3* db, std::int64_t& blocks, double& bytes);

  sqlite3_stmt* statement_ = nullptr;
  sqlite3_blob* blob_ = nullptr;  // the block being read
};

}  // namespace quorvi::engine
