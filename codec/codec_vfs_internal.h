// The shim's file object, shared by the VFS and the key operations.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>

#include "codec/journal_records.h"
#include "codec/page_codec.h"

namespace quorvi::codec::detail {

enum class FileKind { MainDb, Journal, Wal, Other };

// Lives in the memory SQLite gives the VFS for a file: constructed in xOpen, destroyed in xClose.
struct CodecFile {
  sqlite3_file base;
  FileKind kind = FileKind::Other;
  sqlite3_file* real = nullptr;  // the underlying VFS's file, in the same allocation

  // Main database file.
  std::unique_ptr<PageCodec> codec;  // null = plain
  sqlite3** currentDb = nullptr;     // SQLite's own record of the connection using the file now
  int attachments = 0;       // connections that opened the file; more than one = shared cache
  bool contentSeen = false;  // page 1 was read (and made sense) or written under the current keys
  bool uriKeyParameter = false;  // the name carried key= or hexkey= (even an empty one)
  std::string canonicalName;     // the path, whatever spelling the shim gave it (shared_cache.cpp)

  // Journal and WAL: the database file they belong to (null when it is not one of ours).
  CodecFile* mainDb = nullptr;
  JournalRecords journalWrites;
  JournalRecords journalReads;
  std::uint32_t walPageSize = 0;
  bool walBigEndianChecksum = false;   // from the WAL header's magic, with walPageSize
  sqlite3_int64 walHeaderOffset = -1;  // last frame header written, and its page number
  std::uint32_t walHeaderPage = 0;
  std::unique_ptr<std::uint8_t[]> scratch;  // WAL: one page plus a frame header
};

// The connection using `file` now (with a shared cache, the one inside SQLite's call), or null
// before SQLite has told the shim.
inline sqlite3* connectionOf(const CodecFile* file) {
  return file->currentDb != nullptr ? *file->currentDb : nullptr;
}

// The file's codec when it transforms pages, else null.
inline PageCodec* activeCodec(const CodecFile* file) {
  return file != nullptr ? file->codec.get() : nullptr;
}

// The shim's file for database `dbName` of `db`, or null when that database does not live in a
// file of the shim (in-memory databases, other VFSes).
CodecFile* codecFileOf(sqlite3* db, const char* dbName);

// Replaces the file's codec state (null = plain). The only way the state of an open file
// changes: other connections' opens look at it.
void setCodec(CodecFile* file, std::unique_ptr<PageCodec> codec);

// The open database files, for the shared-cache rule (shared_cache.cpp); `name` is the name the
// file was opened under.
void registerMainFile(CodecFile* file, const char* name);
void unregisterMainFile(CodecFile* file);

// The VFS's xFullPathname: the base VFS's answer, or another spelling of the same path that
// keeps the connection out of a shared cache with a keyed database.
int fullPathnameOutsideSharedKeys(sqlite3_vfs* base, const char* name, int size, char* out);

// Handles the key pragmas sent to a database file; SQLITE_NOTFOUND for any other pragma.
int handleKeyPragma(CodecFile* file, char** args);

// A second connection joined the file through a shared cache.
void noteSharedAttachment(CodecFile* file, sqlite3* db);

// Shares the main database's keys with an attached file opened without a key of its own.
void inheritMainKeys(CodecFile* file, sqlite3* db);

}  // namespace quorvi::codec::detail
