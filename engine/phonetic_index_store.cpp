#include "engine/phonetic_index_store.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

#include <QHash>
#include <QString>

namespace quorvi::engine {
namespace {

// The rows the search statement reads with the empty pattern, which accepts exactly the rows
// whose transcription is not NULL, in the same table access and order: the unary + keeps the
// condition off any index, as a REGEXP condition is. No REGEXP call, so the module's time
// budget for a statement, which the decryption of every page would spend, does not apply.
const char kRowsSql[] = "SELECT w_caption, w_phonetic FROM dict_word WHERE +w_phonetic IS NOT NULL";

const char kBlockSql[] = "SELECT data FROM dict_search_index WHERE block = ?";
// length() of a blob reads its size, not its pages.
const char kBlockCountSql[] =
    "SELECT count(*), total(length(data)) FROM dict_search_index WHERE block > 0";

std::string_view columnBytes(sqlite3_stmt* statement, int column) {
  const char* value = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return value
             ? std::string_view(value, static_cast<size_t>(sqlite3_column_bytes(statement, column)))
             : std::string_view();
}

}  // namespace

bool buildIndexFromRows(sqlite3* db, IndexImage& image, const std::atomic<bool>* stop) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, kRowsSql, -1, &statement, nullptr) != SQLITE_OK) return false;
  image = IndexImage();
  // The first row of each headword, by its text as the learner's search shows it.
  QHash<QString, std::uint32_t> firstRows;
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    if (stop != nullptr && *stop) break;
    if (image.rowCount % kIndexBlockRows == 0) image.blocks.emplace_back();
    std::string_view caption = columnBytes(statement, 0);
    caption = caption.substr(0, caption.find('\0'));
    const std::string_view phonetic = columnBytes(statement, 1);
    // A row whose headword is NULL is in no group: the learner's search never lists it.
    if (sqlite3_column_type(statement, 0) != SQLITE_NULL) {
      const QString text =
          QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
      auto first = firstRows.constFind(text);
      if (first == firstRows.cend()) first = firstRows.insert(text, image.rowCount);
      image.groups.append(image.rowCount, *first, caption, phonetic);
    }
    image.blocks.back().append(caption, phonetic, image.catalog);
    ++image.rowCount;
  }
  sqlite3_finalize(statement);
  image.groups.directory.indexRows = image.rowCount;
  if (rc == SQLITE_DONE) return true;
  image = IndexImage();
  return false;
}

StoredIndexReader::~StoredIndexReader() {
  close();
}

sqlite3_stmt* prepareStoredBlobStatement(sqlite3* db) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(db, kBlockSql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
      SQLITE_OK) {
    sqlite3_finalize(statement);
    return nullptr;
  }
  return statement;
}

bool readStoredBlob(sqlite3_stmt* statement, std::int64_t key,
                    const std::function<bool(std::string_view)>& parse) {
  sqlite3_bind_int64(statement, 1, key);
  bool ok = false;
  if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_type(statement, 0) == SQLITE_BLOB) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, 0));
    const size_t size = static_cast<size_t>(sqlite3_column_bytes(statement, 0));
    ok = parse(std::string_view(bytes ? bytes : "", size));
  }
  sqlite3_reset(statement);
  return ok;
}

bool StoredIndexReader::storedBlocks(sqlite3* db, std::int64_t& blocks, double& bytes) {
  sqlite3_stmt* count = nullptr;
  bool ok = false;
  if (sqlite3_prepare_v2(db, kBlockCountSql, -1, &count, nullptr) == SQLITE_OK &&
      sqlite3_step(count) == SQLITE_ROW) {
    blocks = sqlite3_column_int64(count, 0);
    bytes = sqlite3_column_double(count, 1);
    ok = true;
  }
  sqlite3_finalize(count);
  return ok;
}

void StoredIndexReader::close() {
  sqlite3_blob_close(blob_);
  blob_ = nullptr;
  sqlite3_finalize(statement_);
  statement_ = nullptr;
}

bool StoredIndexReader::open(sqlite3* db, SymbolCatalog& catalog, std::uint32_t& rowCount,
                             std::uint32_t& blockRows) {
  close();
  statement_ = prepareStoredBlobStatement(db);
  if (statement_ == nullptr) return false;
  const bool ok = readStoredBlob(statement_, 0, [&](std::string_view bytes) {
    return catalog.parse(bytes, rowCount, blockRows);
  });
  // As many row blocks as the catalog's counts make, holding at least the fixed bytes of that
  // many rows, or its counts are not to be believed: memory is laid out by them.
  std::int64_t blocks = 0;
  double bytes = 0;
  if (!ok || !storedBlocks(db, blocks, bytes) ||
      blocks != (std::int64_t{rowCount} + blockRows - 1) / blockRows ||
      static_cast<double>(rowCount) * IndexBlock::kFixedRowBytes > bytes) {
    close();
    return false;
  }
  return true;
}

namespace {

// A block's blob, read in place through the incremental blob reader.
class BlobSource : public BlockSource {
 public:
  explicit BlobSource(sqlite3_blob* blob) : blob_(blob) {}
  size_t size() const override { return static_cast<size_t>(sqlite3_blob_bytes(blob_)); }
  bool read(void* to, size_t count, size_t offset) override {
    if (offset > size() || count > size() - offset) return false;
    return sqlite3_blob_read(blob_, to, static_cast<int>(count), static_cast<int>(offset)) ==
           SQLITE_OK;
  }

 private:
  sqlite3_blob* blob_;
};

}  // namespace

bool StoredIndexReader::read(size_t number, size_t expectedRows, unsigned parts,
                             const SymbolCatalog& catalog, IndexBlock& block) {
  if (statement_ == nullptr) return false;
  sqlite3* db = sqlite3_db_handle(statement_);
  const auto key = static_cast<sqlite3_int64>(number) + 1;
  // Closed after each block, so that no read stays open between searches.
  if (sqlite3_blob_open(db, "main", kIndexTable, "data", key, 0, &blob_) != SQLITE_OK) {
    sqlite3_blob_close(blob_);
    blob_ = nullptr;
    return false;
  }
  BlobSource source(blob_);
  const bool ok = block.read(source, parts, catalog) && block.rows() == expectedRows;
  sqlite3_blob_close(blob_);
  blob_ = nullptr;
  // The blob's pages are not read again: they would only fill the page cache.
  sqlite3_db_release_memory(db);
  return ok;
}

}  // namespace quorvi::engine
