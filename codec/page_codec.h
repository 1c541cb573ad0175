// Per-database codec state and the rules that decide, for every page image that crosses the
// file-system layer, whether it is decrypted, encrypted or passed through, and under which key.
// SQLite's page cache always holds plain pages; only what lies on disk is encrypted. A database
// without a PageCodec is plain; a PageCodec exists only for an encrypted one (or one being
// encrypted or decrypted by a rekey, when one of its keys is absent).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>

#include "codec/aes_cipher.h"
#include "codec/page_format.h"

namespace quorvi::codec {

// How a page image is handed over, in the pager's numbering.
enum CodecMode : int {
  kModeRead = 3,          // read from the database file, the WAL, or a journal during rollback
  kModeWriteDb = 6,       // about to be written to the database file or the WAL
  kModeWriteJournal = 7,  // about to be written to the rollback journal
};

constexpr std::size_t kMaxPageSize = 65536;

struct PageCodec {
  std::optional<DatabaseKey> readKey;   // key the file is encrypted under now; none = stored plain
  std::optional<DatabaseKey> writeKey;  // key pages are written under; none = written plain
  AesCipher cipher;
  std::unique_ptr<std::uint8_t[]> pageBuffer{new std::uint8_t[kMaxPageSize]};

  // While a rekey runs, the file holds pages under both keys. This records which database pages
  // already carry the write key, so that re-reading one inside the same transaction uses the
  // right key. Empty whenever the two keys agree.
  bool rekeying = false;
  std::unordered_set<std::uint32_t> rewrittenPages;

  // Set while SQLite copies journal images back into the database file (rollback or hot-journal
  // recovery): those images are under the read key and must go back under it.
  bool restoring = false;

  // Page size of the database file as last seen in page 1's header (0 = not known yet).
  std::uint32_t pageSize = 0;

  // Key the database page `pageNumber` is stored under now, or null when it is stored plain.
  const DatabaseKey* dbReadKey(std::uint32_t pageNumber) const;
  // Key a database page is written under now (and remembers the choice during a rekey).
  const DatabaseKey* dbWriteKey(std::uint32_t pageNumber);
  const DatabaseKey* journalKey() const { return keyOrNull(readKey); }
  // WAL frames: a rekey always runs with a rollback journal, so the WAL only ever holds frames
  // written while the keys agree.
  const DatabaseKey* walReadKey() const { return keyOrNull(readKey); }
  const DatabaseKey* walWriteKey() const { return keyOrNull(writeKey); }
  // Both keys present and equal to `key`, outside a rekey.
  bool holdsOnly(const DatabaseKey& key) const;

  // Makes the keys agree again and forgets the rekey bookkeeping.
  void endRekey();

 private:
  static const DatabaseKey* keyOrNull(const std::optional<DatabaseKey>& key) {
    return key ? &*key : nullptr;
  }
};

// A fresh state keyed with `key` (null when key is null or count <= 0).
std::unique_ptr<PageCodec> makeKeyedCodec(const void* key, int count);

// The pager-style hand-over: decrypts in place for kModeRead, returns an encrypted copy in
// pageBuffer for the write modes (the page handed in is not modified), or the page itself when
// nothing applies. Never fails. The shim calls it for whole database pages and journal images.
void* codecTransform(PageCodec* codec, void* page, std::uint32_t pageNumber, int mode,
                     std::size_t pageSize);

// Decrypts (or encrypts) one page image in place under `key`; a null key leaves it as it is.
void cryptImage(PageCodec& codec, const DatabaseKey* key, std::uint32_t pageNumber,
                CryptDirection direction, std::uint8_t* data, std::size_t count);

// Page size field of a plain page-1 header (bytes 16-17), or 0 when it is not a valid size.
std::uint32_t headerPageSize(const std::uint8_t* header32);

// Lock-byte page of a database with this page size (the page holding byte offset 2^30).
inline std::uint32_t lockBytePage(std::uint32_t pageSize) {
  return 1073741824u / pageSize + 1;
}

// Hex text to bytes; false on odd length or a non-hex digit.
bool decodeHexKey(const char* text, std::string& out);

}  // namespace quorvi::codec
