// The shim below SQLite: every file SQLite opens through the default VFS passes here.
//
// Database file: page n lies at offset (n-1)*P. Reads decrypt each whole page in place; reads of
// part of a page (the 100-byte header, the change counter at 24..40) decrypt the CBC blocks
// from the page start to the end of the range. Writes encrypt a private copy.
//
// Rollback journal: which calls carry page images is told by journal_records.h. Images are
// stored under the read key, their checksums kept over the stored bytes, so playback restores
// the stored bytes exactly, whatever key (or none) the recovering connection holds: a wrong key
// cannot make SQLite discard a hot journal.
//
// WAL (frame geometry in journal_records.h): page data is encrypted under the write key, and
// the shim gives every frame the checksum of its stored bytes instead of SQLite's own over the
// plain page, so the log carries nothing derived from plain pages. SQLite reads a frame with
// its header only to check that checksum, and gets it as stored; pages read alone are
// decrypted. Recovery thus needs no key, and a wrong key cannot make SQLite drop the log; a WAL
// is still only opened when page 1 of the database decrypts under the connection's key. (A log
// written by a shim that kept SQLite's checksums is taken for a torn write and not replayed.)
//
// Statement journals are temporary files: they stay in memory and never pass here (their
// records have no checksum, so their images would not be recognised as images).
//
// Temporary files are kept in memory (memory_file.cpp). Memory-mapped I/O is not offered, so
// every page read comes through xRead.
#include "codec/codec_vfs.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>

#include "codec/codec_vfs_internal.h"
#include "codec/memory_file.h"

namespace quorvi::codec {
namespace detail {
namespace {

sqlite3_vfs gVfs;
sqlite3_vfs* gBase = nullptr;
extern const sqlite3_io_methods kCodecMethods;

constexpr unsigned char kMagic[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f',
                                      'o', 'r', 'm', 'a', 't', ' ', '3', 0};
CodecFile* self(sqlite3_file* f) {
  return reinterpret_cast<CodecFile*>(f);
}

int realRead(CodecFile* f, void* buf, int amt, sqlite3_int64 off) {
  return f->real->pMethods->xRead(f->real, buf, amt, off);
}
int realWrite(CodecFile* f, const void* buf, int amt, sqlite3_int64 off) {
  return f->real->pMethods->xWrite(f->real, buf, amt, off);
}

// Bytes of [off, off+amt) that a read ending in `rc` really filled.
sqlite3_int64 bytesPresent(CodecFile* f, int rc, int amt, sqlite3_int64 off) {
  if (rc == SQLITE_OK) return amt;
  sqlite3_int64 size = 0;
  if (f->real->pMethods->xFileSize(f->real, &size) != SQLITE_OK) return 0;
  return std::clamp<sqlite3_int64>(size - off, 0, amt);
}

// ---- parts of a page ----

// A page image as it lies in a file (database page or WAL frame data).
struct StoredImage {
  std::uint32_t page;
  sqlite3_int64 start;
  std::uint32_t size;
};

// Decrypts the bytes [from, to) of a stored image into `out`: the CBC blocks from the image's
// start up to `to` are read into `scratch` and decrypted under `key`.
int readPartialImage(CodecFile* f, PageCodec& c, const DatabaseKey* key, const StoredImage& image,
                     sqlite3_int64 from, sqlite3_int64 to, std::uint8_t* out,
                     std::uint8_t* scratch) {
  std::size_t prefix = std::min<std::size_t>(((to - image.start) + 15) / 16 * 16, image.size);
  int rc = realRead(f, scratch, static_cast<int>(prefix), image.start);
  if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ) return rc;
  cryptImage(c, key, image.page, CryptDirection::Decrypt, scratch, prefix);
  std::memcpy(out, scratch + (from - image.start), static_cast<std::size_t>(to - from));
  return SQLITE_OK;
}

// Makes `scratch` the whole image to store when the bytes [from, to) of it are `in`: the rest
// is the stored image decrypted under `readKey`; the result is encrypted under `writeKey`.
int mergeIntoImage(CodecFile* f, PageCodec& c, const DatabaseKey* readKey,
                   const DatabaseKey* writeKey, const StoredImage& image, sqlite3_int64 from,
                   sqlite3_int64 to, const std::uint8_t* in, std::uint8_t* scratch) {
  if (from != image.start || to != image.start + image.size) {
    int rc = realRead(f, scratch, static_cast<int>(image.size), image.start);
    if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ) return rc;
    cryptImage(c, readKey, image.page, CryptDirection::Decrypt, scratch, image.size);
  }
  std::memcpy(scratch + (from - image.start), in, static_cast<std::size_t>(to - from));
  cryptImage(c, writeKey, image.page, CryptDirection::Encrypt, scratch, image.size);
  return SQLITE_OK;
}

// ---- database file ----

// Page size of the database as stored: from the cache, else from the first 32 bytes of page 1.
std::uint32_t databasePageSize(CodecFile* f, PageCodec* c) {
  if (c->pageSize != 0) return c->pageSize;
  std::uint8_t head[32];
  if (realRead(f, head, 32, 0) == SQLITE_OK) {
    cryptImage(*c, c->dbReadKey(1), 1, CryptDirection::Decrypt, head, 32);
    c->pageSize = headerPageSize(head);
  }
  return c->pageSize;
}

// Decrypts what a read of [off, off+amt) brought in, page by page.
int decryptDbRead(CodecFile* f, PageCodec* c, std::uint8_t* out, int rc, int amt,
                  sqlite3_int64 off) {
  sqlite3_int64 end = off + bytesPresent(f, rc, amt, off);
  if (end <= off) return rc;

  if (off == 0 && end >= 32) {  // page 1 read afresh: its header gives the page size
    std::uint8_t head[32];
    std::memcpy(head, out, 32);
    cryptImage(*c, c->dbReadKey(1), 1, CryptDirection::Decrypt, head, 32);
    if (std::uint32_t p = headerPageSize(head)) c->pageSize = p;
  }
  // Inside the first 512 bytes everything is a prefix of page 1, whatever the page size.
  std::uint32_t pageSize = end <= 512 ? 512 : databasePageSize(f, c);
  if (pageSize == 0) pageSize = isPageSize(amt) && off % amt == 0 ? std::uint32_t(amt) : 4096;

  for (sqlite3_int64 pos = off; pos < end;) {
    auto page = static_cast<std::uint32_t>(pos / pageSize + 1);
    sqlite3_int64 pageStart = sqlite3_int64(page - 1) * pageSize;
    sqlite3_int64 segEnd = std::min<sqlite3_int64>(pageStart + pageSize, end);
    const DatabaseKey* key = c->dbReadKey(page);
    if (pos == pageStart && segEnd == pageStart + pageSize) {
      codecTransform(c, out + (pos - off), page, kModeRead, pageSize);
    } else if (key != nullptr) {
      const StoredImage image{page, pageStart, pageSize};
      int prc =
          readPartialImage(f, *c, key, image, pos, segEnd, out + (pos - off), c->pageBuffer.get());
      if (prc != SQLITE_OK) return prc;
    }
    pos = segEnd;
  }
  return rc;
}

int dbRead(CodecFile* f, void* buf, int amt, sqlite3_int64 off) {
  int rc = realRead(f, buf, amt, off);
  if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ) return rc;
  auto* out = static_cast<std::uint8_t*>(buf);
  if (PageCodec* c = activeCodec(f)) rc = decryptDbRead(f, c, out, rc, amt, off);
  // Page 1 that makes sense under the current keys: from now on the connection's cache holds
  // pages read under them, and another key must not be slipped in.
  // (The header SQLite reads while opening the file, before it names the connection, does not
  // count.)
  if (rc == SQLITE_OK && off == 0 && amt >= 16 && f->currentDb != nullptr &&
      std::memcmp(out, kMagic, 16) == 0) {
    f->contentSeen = true;
  }
  return rc;
}

int dbWrite(CodecFile* f, const void* buf, int amt, sqlite3_int64 off) {
  if (off == 0 && f->currentDb != nullptr) f->contentSeen = true;
  PageCodec* c = activeCodec(f);
  if (c == nullptr) return realWrite(f, buf, amt, off);
  const auto* in = static_cast<const std::uint8_t*>(buf);
  if (off == 0 && amt >= 32) {
    // SQLite changes the page size (VACUUM, backup) by writing pages of the old size that hold
    // pages of the new size, some of them before page 1 tells the new size; those would end up
    // encrypted in the wrong units. The page size of a keyed database stays as it is: page 1
    // with another size is refused, and SQLite rolls the change back.
    std::uint32_t newSize = headerPageSize(in), current = databasePageSize(f, c);
    if (newSize != 0 && current != 0 && newSize != current) {
      sqlite3_int64 size = 0;
      if (f->real->pMethods->xFileSize(f->real, &size) != SQLITE_OK || size > 0)
        return SQLITE_READONLY;
    }
    if (newSize != 0) c->pageSize = newSize;
  }
  std::uint32_t pageSize = databasePageSize(f, c);
  if (pageSize == 0) pageSize = isPageSize(amt) ? std::uint32_t(amt) : 4096;
  std::uint8_t* scratch = c->pageBuffer.get();

  for (sqlite3_int64 pos = off, end = off + amt; pos < end;) {
    auto page = static_cast<std::uint32_t>(pos / pageSize + 1);
    sqlite3_int64 pageStart = sqlite3_int64(page - 1) * pageSize;
    sqlite3_int64 segEnd = std::min<sqlite3_int64>(pageStart + pageSize, end);
    const void* stored;
    if (pos == pageStart && segEnd == pageStart + pageSize) {
      stored = codecTransform(c, const_cast<std::uint8_t*>(in + (pos - off)), page, kModeWriteDb,
                              pageSize);
    } else {  // part of a page: merged into the stored page, which is written whole
      const DatabaseKey* readKey =
          c->dbReadKey(page);  // before dbWriteKey notes the page as rewritten
      const StoredImage image{page, pageStart, pageSize};
      int rc = mergeIntoImage(f, *c, readKey, c->dbWriteKey(page), image, pos, segEnd,
                              in + (pos - off), scratch);
      if (rc != SQLITE_OK) return rc;
      stored = scratch;
    }
    int rc = realWrite(f, stored, static_cast<int>(pageSize), pageStart);
    if (rc != SQLITE_OK) return rc;
    pos = segEnd;
  }
  return SQLITE_OK;
}

// ---- rollback journal ----

JournalRecords::FieldReader fieldReader(CodecFile* f) {
  return [f](sqlite3_int64 offset, std::uint8_t field[4]) {
    return realRead(f, field, 4, offset) == SQLITE_OK;
  };
}

int journalWrite(CodecFile* f, const void* buf, int amt, sqlite3_int64 off) {
  PageCodec* c = activeCodec(f->mainDb);
  if (c == nullptr) return realWrite(f, buf, amt, off);
  const auto* in = static_cast<const std::uint8_t*>(buf);
  if (off == 0) c->restoring = false;  // a new journal: a new transaction
  std::uint32_t page = 0;
  switch (f->journalWrites.classify(off, amt, in, fieldReader(f), page)) {
    case JournalCall::Checksum: {
      std::uint8_t stored[4];
      writeBigEndian32(stored, f->journalWrites.toStored(readBigEndian32(in)));
      return realWrite(f, stored, 4, off);
    }
    case JournalCall::Image: {
      const auto* stored = static_cast<const std::uint8_t*>(
          codecTransform(c, const_cast<std::uint8_t*>(in), page, kModeWriteJournal,
                         static_cast<std::size_t>(amt)));
      const std::uint32_t plainSamples = checksumSamples(in, amt),
                          storedSamples = checksumSamples(stored, amt);
      int rc = realWrite(f, stored, amt, off);
      if (rc == SQLITE_OK) f->journalWrites.noteImage(off, amt, plainSamples, storedSamples);
      return rc;
    }
    default:
      return realWrite(f, buf, amt, off);
  }
}

int journalRead(CodecFile* f, void* buf, int amt, sqlite3_int64 off) {
  int rc = realRead(f, buf, amt, off);
  PageCodec* c = activeCodec(f->mainDb);
  if (c == nullptr || rc != SQLITE_OK) return rc;
  auto* out = static_cast<std::uint8_t*>(buf);
  std::uint32_t page = 0;
  switch (f->journalReads.classify(off, amt, out, fieldReader(f), page)) {
    case JournalCall::Checksum:
      writeBigEndian32(out, f->journalReads.toPlain(readBigEndian32(out)));
      break;
    case JournalCall::Image: {
      const std::uint32_t storedSamples = checksumSamples(out, amt);
      cryptImage(*c, c->journalKey(), page, CryptDirection::Decrypt, out,
                 static_cast<std::size_t>(amt));
      c->restoring = true;  // images only come back in a rollback
      f->journalReads.noteImage(off, amt, checksumSamples(out, amt), storedSamples);
      break;
    }
    default:
      break;
  }
  return rc;
}

// ---- WAL ----

std::uint32_t walPageSize(CodecFile* f) {
  if (f->walPageSize != 0) return f->walPageSize;
  std::uint8_t head[12];
  if (realRead(f, head, 12, 0) == SQLITE_OK) {
    f->walPageSize = walHeaderPageSize(head, 12, 0);
    f->walBigEndianChecksum = (head[3] & 1) != 0;
  }
  return f->walPageSize;
}

void noteWalHeader(CodecFile* f, const std::uint8_t* bytes, int amt, sqlite3_int64 off) {
  if (std::uint32_t size = walHeaderPageSize(bytes, amt, off)) {
    f->walPageSize = size;
    f->walBigEndianChecksum = (bytes[3] & 1) != 0;
  }
}

std::uint32_t framePage(CodecFile* f, sqlite3_int64 frameStart, const std::uint8_t* buf,
                        sqlite3_int64 off, sqlite3_int64 end) {
  if (frameStart >= off && frameStart + 4 <= end) return readBigEndian32(buf + (frameStart - off));
  if (f->walHeaderOffset == frameStart) return f->walHeaderPage;
  std::uint8_t field[4];
  if (realRead(f, field, 4, frameStart) != SQLITE_OK) return 0;
  return readBigEndian32(field);
}

// Page 1 under the current keys passed between the connection's cache and the WAL: from now on
// another key must not be slipped in (see dbRead).
void noteWalPageOne(CodecFile* f, std::uint32_t page, const std::uint8_t* plain) {
  if (page == 1 && f->mainDb != nullptr && f->mainDb->currentDb != nullptr &&
      std::memcmp(plain, kMagic, 16) == 0) {
    f->mainDb->contentSeen = true;
  }
}

// Gives the frame at `frameStart` the checksum of what lies on disk: the checksum before it,
// the first 8 bytes of its header and its page as stored. Bytes not written yet count as zeros;
// they get their checksum when they are written.
int sealFrame(CodecFile* f, const WalLayout& wal, sqlite3_int64 frameStart) {
  std::uint8_t previous[8];
  int rc = realRead(f, previous, 8, wal.previousChecksum(frameStart));
  if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ) return rc;
  if (rc != SQLITE_OK) std::memset(previous, 0, sizeof previous);
  std::uint8_t* frame = f->scratch.get();
  const int size = static_cast<int>(wal.frameSize());
  rc = realRead(f, frame, size, frameStart);
  if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ) return rc;
  if (rc != SQLITE_OK) {
    const sqlite3_int64 present = bytesPresent(f, rc, size, frameStart);
    std::memset(frame + present, 0, static_cast<std::size_t>(size - present));
  }
  std::uint32_t sum[2] = {readBigEndian32(previous), readBigEndian32(previous + 4)};
  walChecksum(f->walBigEndianChecksum, sum, frame, 8);
  walChecksum(f->walBigEndianChecksum, sum, frame + WalLayout::kFrameHeader, wal.pageSize());
  std::uint8_t field[8];
  writeBigEndian32(field, sum[0]);
  writeBigEndian32(field + 4, sum[1]);
  return realWrite(f, field, 8, frameStart + 16);
}

// Frame headers go down with their checksum field blank (SQLite's own is taken over the plain
// page), page data only ever encrypted, a partial page merged into the stored one; then the
// frame is sealed over what is stored.
int walWrite(CodecFile* f, const void* buf, int amt, sqlite3_int64 off) {
  const auto* in = static_cast<const std::uint8_t*>(buf);
  noteWalHeader(f, in, amt, off);
  PageCodec* c = activeCodec(f->mainDb);
  const WalLayout wal(c != nullptr ? walPageSize(f) : 0);
  if (wal.pageSize() == 0 || c->walWriteKey() == nullptr) return realWrite(f, buf, amt, off);
  const sqlite3_int64 end = off + amt;
  if (wal.isFrameHeader(off) && amt >= 4) {
    f->walHeaderOffset = off;
    f->walHeaderPage = readBigEndian32(in);
  }
  for (sqlite3_int64 pos = off; pos < end;) {
    const sqlite3_int64 frameStart = wal.frameStart(pos), dataStart = wal.dataStart(pos);
    sqlite3_int64 to;
    int rc;
    if (pos < WalLayout::kHeader) {  // the WAL header: nothing of the pages in it
      to = std::min(end, dataStart);
      rc = realWrite(f, in + (pos - off), static_cast<int>(to - pos), pos);
    } else if (pos < dataStart) {
      to = std::min(end, dataStart);
      std::uint8_t header[WalLayout::kFrameHeader];
      std::memcpy(header, in + (pos - off), static_cast<std::size_t>(to - pos));
      for (sqlite3_int64 at = std::max(pos, frameStart + 16); at < to; ++at) header[at - pos] = 0;
      rc = realWrite(f, header, static_cast<int>(to - pos), pos);
    } else {
      to = std::min(end, dataStart + wal.pageSize());
      const StoredImage image{framePage(f, frameStart, in, off, end), dataStart, wal.pageSize()};
      if (pos == dataStart && to - pos >= 16) noteWalPageOne(f, image.page, in + (pos - off));
      std::uint8_t* scratch = f->scratch.get();
      rc = mergeIntoImage(f, *c, c->walReadKey(), c->walWriteKey(), image, pos, to,
                          in + (pos - off), scratch);
      if (rc == SQLITE_OK) rc = realWrite(f, scratch, static_cast<int>(image.size), dataStart);
    }
    if (rc == SQLITE_OK && pos >= WalLayout::kHeader) rc = sealFrame(f, wal, frameStart);
    if (rc != SQLITE_OK) return rc;
    pos = to;
  }
  return SQLITE_OK;
}

// A read of a frame's page alone is a page for the cache and is decrypted. A read that takes a
// frame with its header is SQLite checking the frame's checksum (recovery, or rewriting the
// checksums of frames written again): it gets the frame as stored, which its checksum covers.
int walRead(CodecFile* f, void* buf, int amt, sqlite3_int64 off) {
  int rc = realRead(f, buf, amt, off);
  auto* out = static_cast<std::uint8_t*>(buf);
  if (rc == SQLITE_OK) noteWalHeader(f, out, amt, off);
  if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ) return rc;
  const WalLayout wal(walPageSize(f));
  if (wal.pageSize() == 0) return rc;
  PageCodec* c = activeCodec(f->mainDb);
  const DatabaseKey* key = c != nullptr ? c->walReadKey() : nullptr;
  sqlite3_int64 end = off + bytesPresent(f, rc, amt, off);
  int prc = wal.forEachFrameData(
      off, end, [&](sqlite3_int64 frameStart, sqlite3_int64 from, sqlite3_int64 to) {
        if (off <= frameStart) return SQLITE_OK;
        const StoredImage image{framePage(f, frameStart, out, off, end),
                                frameStart + WalLayout::kFrameHeader, wal.pageSize()};
        std::uint8_t* data = out + (from - off);
        if (key == nullptr) {
          if (from == image.start && to - from >= 16) noteWalPageOne(f, image.page, data);
          return SQLITE_OK;
        }
        if (from == image.start && to == image.start + image.size) {
          cryptImage(*c, key, image.page, CryptDirection::Decrypt, data, image.size);
          noteWalPageOne(f, image.page, data);
          return SQLITE_OK;
        }
        return readPartialImage(f, *c, key, image, from, to, data, f->scratch.get());
      });
  return prc != SQLITE_OK ? prc : rc;
}

// True when page 1 of the database decrypts (or reads, when plain) to SQLite's magic string, or
// when the file is too short to tell.
bool keyFitsDatabase(CodecFile* db) {
  std::uint8_t head[16];
  int rc = realRead(db, head, 16, 0);
  if (rc == SQLITE_IOERR_SHORT_READ) return true;
  if (rc != SQLITE_OK) return true;  // let SQLite report its own I/O error
  if (PageCodec* c = activeCodec(db))
    cryptImage(*c, c->dbReadKey(1), 1, CryptDirection::Decrypt, head, 16);
  return std::memcmp(head, kMagic, 16) == 0;
}

// ---- io methods ----

int xClose(sqlite3_file* file) {
  CodecFile* f = self(file);
  PageCodec* c = activeCodec(f->mainDb);
  if (f->kind == FileKind::Journal && c != nullptr) c->restoring = false;
  if (f->kind == FileKind::MainDb) unregisterMainFile(f);
  int rc = f->real->pMethods != nullptr ? f->real->pMethods->xClose(f->real) : SQLITE_OK;
  f->~CodecFile();
  return rc;
}

// One transfer direction's handler for each kind of file (`other` for files passed through).
template <typename Buffer>
struct TransferByKind {
  using Handler = int (*)(CodecFile*, Buffer, int, sqlite3_int64);
  Handler mainDb, journal, wal, other;

  int operator()(sqlite3_file* file, Buffer buf, int amt, sqlite3_int64 off) const {
    CodecFile* f = self(file);
    switch (f->kind) {
      case FileKind::MainDb:
        return mainDb(f, buf, amt, off);
      case FileKind::Journal:
        return journal(f, buf, amt, off);
      case FileKind::Wal:
        return wal(f, buf, amt, off);
      default:
        return other(f, buf, amt, off);
    }
  }
};

constexpr TransferByKind<void*> kReads{dbRead, journalRead, walRead, realRead};
constexpr TransferByKind<const void*> kWrites{dbWrite, journalWrite, walWrite, realWrite};

int xRead(sqlite3_file* file, void* buf, int amt, sqlite3_int64 off) {
  return kReads(file, buf, amt, off);
}
int xWrite(sqlite3_file* file, const void* buf, int amt, sqlite3_int64 off) {
  return kWrites(file, buf, amt, off);
}

int xTruncate(sqlite3_file* file, sqlite3_int64 size) {
  CodecFile* f = self(file);
  PageCodec* c = activeCodec(f->mainDb);
  if (f->kind == FileKind::Journal && size == 0 && c != nullptr) c->restoring = false;
  return f->real->pMethods->xTruncate(f->real, size);
}

int xSync(sqlite3_file* f, int flags) {
  return self(f)->real->pMethods->xSync(self(f)->real, flags);
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) {
  return self(f)->real->pMethods->xFileSize(self(f)->real, size);
}
int xLock(sqlite3_file* f, int level) {
  return self(f)->real->pMethods->xLock(self(f)->real, level);
}
int xUnlock(sqlite3_file* f, int level) {
  return self(f)->real->pMethods->xUnlock(self(f)->real, level);
}
int xCheckReservedLock(sqlite3_file* f, int* out) {
  return self(f)->real->pMethods->xCheckReservedLock(self(f)->real, out);
}

int xFileControl(sqlite3_file* file, int op, void* arg) {
  CodecFile* f = self(file);
  if (f->kind == FileKind::MainDb) {
    if (op == SQLITE_FCNTL_PRAGMA) {
      int rc = handleKeyPragma(f, static_cast<char**>(arg));
      if (rc != SQLITE_NOTFOUND) return rc;
    } else if (op == SQLITE_FCNTL_PDB) {
      // SQLite hands over where it records the connection using the file (under a shared cache
      // that changes from call to call), once for every connection that opens it. An attached
      // file without a key of its own takes the main database's keys.
      f->currentDb = static_cast<sqlite3**>(arg);
      sqlite3* db = *f->currentDb;
      if (++f->attachments > 1) {
        noteSharedAttachment(f, db);
      } else if (!f->uriKeyParameter) {
        inheritMainKeys(f, db);
      }
    }
  }
  if (op == SQLITE_FCNTL_MMAP_SIZE) {  // pages must pass through xRead to be decrypted
    *static_cast<sqlite3_int64*>(arg) = 0;
    return SQLITE_OK;
  }
  return f->real->pMethods->xFileControl(f->real, op, arg);
}

int xSectorSize(sqlite3_file* f) {
  return self(f)->real->pMethods->xSectorSize(self(f)->real);
}
int xDeviceCharacteristics(sqlite3_file* f) {
  // Batch-atomic writes would let SQLite skip the rollback journal.
  return self(f)->real->pMethods->xDeviceCharacteristics(self(f)->real) &
         ~SQLITE_IOCAP_BATCH_ATOMIC;
}
int xShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out) {
  auto* r = self(f)->real;
  return r->pMethods->xShmMap != nullptr ? r->pMethods->xShmMap(r, region, size, extend, out)
                                         : SQLITE_IOERR;
}
int xShmLock(sqlite3_file* f, int offset, int n, int flags) {
  auto* r = self(f)->real;
  return r->pMethods->xShmLock != nullptr ? r->pMethods->xShmLock(r, offset, n, flags)
                                          : SQLITE_IOERR;
}
void xShmBarrier(sqlite3_file* f) {
  auto* r = self(f)->real;
  if (r->pMethods->xShmBarrier != nullptr) r->pMethods->xShmBarrier(r);
}
int xShmUnmap(sqlite3_file* f, int deleteFlag) {
  auto* r = self(f)->real;
  return r->pMethods->xShmUnmap != nullptr ? r->pMethods->xShmUnmap(r, deleteFlag) : SQLITE_OK;
}

const sqlite3_io_methods kCodecMethods = {2,
                                          xClose,
                                          xRead,
                                          xWrite,
                                          xTruncate,
                                          xSync,
                                          xFileSize,
                                          xLock,
                                          xUnlock,
                                          xCheckReservedLock,
                                          xFileControl,
                                          xSectorSize,
                                          xDeviceCharacteristics,
                                          xShmMap,
                                          xShmLock,
                                          xShmBarrier,
                                          xShmUnmap,
                                          nullptr,
                                          nullptr};

// ---- vfs ----

constexpr int kTempFlags = SQLITE_OPEN_TEMP_DB | SQLITE_OPEN_TEMP_JOURNAL | SQLITE_OPEN_SUBJOURNAL |
                           SQLITE_OPEN_TRANSIENT_DB;

int keyFromUri(CodecFile* f, const char* name, std::unique_ptr<PageCodec>& codec) {
  const char* key = sqlite3_uri_parameter(name, "key");
  const char* hex = sqlite3_uri_parameter(name, "hexkey");
  f->uriKeyParameter = key != nullptr || hex != nullptr;
  if (hex != nullptr) {
    std::string bytes;
    if (!decodeHexKey(hex, bytes)) return SQLITE_CANTOPEN;
    codec = makeKeyedCodec(bytes.data(), static_cast<int>(bytes.size()));
  } else if (key != nullptr) {
    codec = makeKeyedCodec(key, static_cast<int>(std::strlen(key)));
  }
  return SQLITE_OK;
}

FileKind kindOf(int flags) {
  return (flags & SQLITE_OPEN_MAIN_DB)        ? FileKind::MainDb
         : (flags & SQLITE_OPEN_MAIN_JOURNAL) ? FileKind::Journal
         : (flags & SQLITE_OPEN_WAL)          ? FileKind::Wal
                                              : FileKind::Other;
}

// Sets up what the file needs before the real file is opened; SQLite's result code.
int prepareFile(CodecFile* f, const char* name, int flags) {
  f->kind = kindOf(flags);
  if (f->kind == FileKind::MainDb) return keyFromUri(f, name, f->codec);
  if (f->kind != FileKind::Journal && f->kind != FileKind::Wal) return SQLITE_OK;
  sqlite3_file* db = sqlite3_database_file_object(name);
  if (db != nullptr && db->pMethods == &kCodecMethods) f->mainDb = self(db);
  if (f->kind != FileKind::Wal) return SQLITE_OK;
  f->scratch.reset(new (std::nothrow) std::uint8_t[kMaxPageSize + WalLayout::kFrameHeader]);
  if (f->scratch == nullptr) return SQLITE_NOMEM;
  return f->mainDb != nullptr && !keyFitsDatabase(f->mainDb) ? SQLITE_NOTADB : SQLITE_OK;
}

int vfsOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
  file->pMethods = nullptr;
  if (name == nullptr || (flags & kTempFlags) != 0) return openMemoryFile(file, flags, outFlags);

  CodecFile* f = new (file) CodecFile();
  f->real = reinterpret_cast<sqlite3_file*>(f + 1);
  f->real->pMethods = nullptr;
  int rc = prepareFile(f, name, flags);
  if (rc == SQLITE_OK) rc = gBase->xOpen(gBase, name, f->real, flags, outFlags);
  if (rc != SQLITE_OK) {
    if (f->real->pMethods != nullptr) f->real->pMethods->xClose(f->real);
    f->~CodecFile();
    return rc;
  }
  if (f->kind == FileKind::MainDb) registerMainFile(f, name);
  file->pMethods = &kCodecMethods;
  return SQLITE_OK;
}

int vfsFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
  return fullPathnameOutsideSharedKeys(gBase, name, size, out);
}

// The method `Method` of the base VFS, called on the base VFS: what the shim does for every
// method it has nothing to add to.
template <auto Method>
struct OnBase;
template <typename R, typename... Args, R (*sqlite3_vfs::*Method)(sqlite3_vfs*, Args...)>
struct OnBase<Method> {
  static R call(sqlite3_vfs*, Args... args) { return (gBase->*Method)(gBase, args...); }
};

template <auto... Methods>
void forwardToBase(sqlite3_vfs& vfs) {
  ((vfs.*Methods = &OnBase<Methods>::call), ...);
}

int vfsGetLastError(sqlite3_vfs*, int n, char* msg) {
  return gBase->xGetLastError != nullptr ? gBase->xGetLastError(gBase, n, msg) : 0;
}

int setUpVfs() {
  if (int rc = sqlite3_initialize(); rc != SQLITE_OK) return rc;
  gBase = sqlite3_vfs_find(nullptr);
  if (gBase == nullptr) return SQLITE_ERROR;
  gVfs = sqlite3_vfs{};
  gVfs.iVersion = std::min(gBase->iVersion, 3);
  gVfs.szOsFile = std::max(static_cast<int>(sizeof(CodecFile)) + gBase->szOsFile, memoryFileSize());
  gVfs.mxPathname = gBase->mxPathname;
  gVfs.zName = kCodecVfsName;
  gVfs.xOpen = vfsOpen;
  gVfs.xFullPathname = vfsFullPathname;
  gVfs.xGetLastError = vfsGetLastError;
  forwardToBase<&sqlite3_vfs::xDelete, &sqlite3_vfs::xAccess, &sqlite3_vfs::xDlOpen,
                &sqlite3_vfs::xDlError, &sqlite3_vfs::xDlSym, &sqlite3_vfs::xDlClose,
                &sqlite3_vfs::xRandomness, &sqlite3_vfs::xSleep, &sqlite3_vfs::xCurrentTime>(gVfs);
  if (gVfs.iVersion >= 2) forwardToBase<&sqlite3_vfs::xCurrentTimeInt64>(gVfs);
  if (gVfs.iVersion >= 3) {
    forwardToBase<&sqlite3_vfs::xSetSystemCall, &sqlite3_vfs::xGetSystemCall,
                  &sqlite3_vfs::xNextSystemCall>(gVfs);
  }
  return SQLITE_OK;
}

}  // namespace

CodecFile* codecFileOf(sqlite3* db, const char* dbName) {
  sqlite3_file* file = nullptr;
  if (db == nullptr ||
      sqlite3_file_control(db, dbName, SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK) {
    return nullptr;
  }
  if (file == nullptr || file->pMethods != &kCodecMethods) return nullptr;
  CodecFile* f = self(file);
  return f->kind == FileKind::MainDb ? f : nullptr;
}

}  // namespace detail

int registerCodecVfs() {
  static std::mutex mutex;
  static bool setUp = false;
  std::lock_guard<std::mutex> lock(mutex);
  if (int rc = sqlite3_initialize(); rc != SQLITE_OK) return rc;
  // Another copy of the shim in this process (the loadable module next to a program that links
  // the library) is made the default instead of being wrapped: pages must not be encrypted twice.
  sqlite3_vfs* existing = sqlite3_vfs_find(kCodecVfsName);
  if (existing != nullptr && existing != &detail::gVfs) return sqlite3_vfs_register(existing, 1);
  if (!setUp) {
    if (int rc = detail::setUpVfs(); rc != SQLITE_OK) return rc;
    setUp = true;
  }
  return sqlite3_vfs_register(&detail::gVfs, 1);
}

}  // namespace quorvi::codec
