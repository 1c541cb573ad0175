// Key operations: sqlite3_key, sqlite3_rekey, sqlite3CodecAttach, sqlite3CodecGetKey and the
// key pragmas.
//
// How a rekey stays safe
// ----------------------
// A rekey rewrites every page of the main database (the lock-byte page excepted) under the new
// key, or plain when the new key is empty. It is done by SQLite's backup machinery, in two
// copies:
//   1. the whole database is copied into a private in-memory database, read through the shim
//      under the current key (this costs memory of the database's size while the rekey runs);
//   2. the codec enters the rekeying state (read key = old key, write key = new key) and the
//      copy is backed up onto the main database. SQLite does this as ONE write transaction on
//      the main database: every page is journalled before it changes, pages are written at
//      cache spills and at commit, and the journal's removal is the commit point.
// While the keys differ:
//   - journal images are encrypted under the read (old) key, like every page not yet written;
//   - pages written to the database file get the new key, and the codec remembers which pages
//     those are, so that a page read back within the transaction is decrypted with the key it
//     actually carries;
//   - when SQLite rolls back in-process it reads the journal images and writes them back; the
//     shim sees the journal being read and writes those pages under the read key again
//     (PageCodec::restoring), so a rollback on any error path restores old pages under the old
//     key, never under the new one;
//   - after an I/O error SQLite may leave the journal hot instead of playing it back at once;
//     the keys are put back to the old key before anything else touches the file, and the rekey
//     then runs a read so that SQLite plays the journal back right away, under the old key.
// A crash mid-rekey leaves a hot journal whose images are all under the old key; the next open
// with the old key plays it back and every page is under the old key again. The journal's
// checksums are kept over the stored bytes (see codec_vfs.cpp), so even an open with another key
// restores the stored bytes exactly and cannot discard the journal.
// Only a journal file on disk gives this protection, and only a rollback journal is read back
// through the shim, so a database in WAL, MEMORY or OFF journal mode is switched to DELETE for
// the rekey and back afterwards (WAL needs the connection to be the only one; else SQLITE_BUSY).
#include <sqlite3.h>

#include <cstring>
#include <string>

#include "codec/codec_vfs.h"
#include "codec/codec_vfs_internal.h"

namespace quorvi::codec::detail {
namespace {

class ConnectionLock {
 public:
  explicit ConnectionLock(sqlite3* db) : mutex_(sqlite3_db_mutex(db)) { sqlite3_mutex_enter(mutex_); }
  ~ConnectionLock() { sqlite3_mutex_leave(mutex_); }
  ConnectionLock(const ConnectionLock&) = delete;
  ConnectionLock& operator=(const ConnectionLock&) = delete;

 private:
  sqlite3_mutex* mutex_;
};

PageCodec* activeCodec(CodecFile* f) {
  return (f != nullptr && f->codec != nullptr && f->codec->isEncrypted) ? f->codec : nullptr;
}

void installKey(CodecFile* f, std::unique_ptr<PageCodec> codec) {
  setCodec(f, std::move(codec));
  // Pages cached under an earlier key must be read again.
  if (f->owner != nullptr) sqlite3_db_release_memory(f->owner);
}

int copyDatabase(sqlite3* to, sqlite3* from) {
  sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
  if (backup == nullptr) return sqlite3_errcode(to);
  int rc = sqlite3_backup_step(backup, -1);
  int finished = sqlite3_backup_finish(backup);
  return rc == SQLITE_DONE ? finished : rc;
}

std::string journalMode(sqlite3* db, const char* change) {
  std::string sql = "PRAGMA main.journal_mode";
  if (change != nullptr) sql += std::string("=") + change;
  sqlite3_stmt* stmt = nullptr;
  std::string mode;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
    if (const unsigned char* text = sqlite3_column_text(stmt, 0)) mode = reinterpret_cast<const char*>(text);
  }
  sqlite3_finalize(stmt);
  return mode;
}

bool journalOnDisk(const std::string& mode) { return mode == "delete" || mode == "truncate" || mode == "persist"; }

int rekeyMain(sqlite3* db, const void* key, int count) {
  ConnectionLock lock(db);
  CodecFile* f = codecFileOf(db, "main");
  if (f == nullptr) return SQLITE_OK;  // in-memory or temporary: nothing on disk to rewrite
  const bool newKey = key != nullptr && count > 0;
  if (!newKey && activeCodec(f) == nullptr) return SQLITE_OK;
  if (sqlite3_get_autocommit(db) == 0) return SQLITE_ERROR;  // not inside an open transaction

  const std::string oldMode = journalMode(db, nullptr);
  if (oldMode.empty()) return sqlite3_errcode(db) != SQLITE_OK ? sqlite3_errcode(db) : SQLITE_ERROR;
  if (!journalOnDisk(oldMode) && journalMode(db, "delete") != "delete") return SQLITE_BUSY;

  sqlite3* copy = nullptr;
  int rc = sqlite3_open_v2(":memory:", &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc == SQLITE_OK) rc = copyDatabase(copy, db);

  if (rc == SQLITE_OK) {
    PageCodec* c = activeCodec(f);
    if (c == nullptr) {  // plain database: pages are read plain and written under the new key
      auto fresh = std::make_unique<PageCodec>();
      fresh->isEncrypted = true;
      c = fresh.get();
      setCodec(f, std::move(fresh));
    }
    c->hasWriteKey = newKey;
    if (newKey) c->writeKey = deriveDatabaseKey(key, count);
    c->rekeying = true;

    rc = copyDatabase(db, copy);

    if (rc == SQLITE_OK && c->hasWriteKey) {
      c->readKey = c->writeKey;
      c->hasReadKey = true;
    } else if (rc != SQLITE_OK && c->hasReadKey) {
      c->writeKey = c->readKey;
      c->hasWriteKey = true;
    }
    c->endRekey();
    if (!c->hasReadKey || !c->hasWriteKey) setCodec(f, nullptr);  // plain from now on
    if (rc != SQLITE_OK) {
      // Let SQLite play back a journal it left hot, now under the old key.
      sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
    }
  }
  sqlite3_close(copy);
  if (!journalOnDisk(oldMode)) journalMode(db, oldMode.c_str());
  return rc;
}

char* message(const char* text) { return sqlite3_mprintf("%s", text); }

}  // namespace

void inheritMainKeys(CodecFile* file, sqlite3* db) {
  CodecFile* mainFile = codecFileOf(db, "main");
  if (mainFile == nullptr || mainFile == file) return;
  PageCodec* mainCodec = activeCodec(mainFile);
  if (mainCodec == nullptr || !mainCodec->hasReadKey || !mainCodec->hasWriteKey) return;
  auto codec = std::make_unique<PageCodec>();
  codec->isEncrypted = true;
  codec->hasReadKey = codec->hasWriteKey = true;
  codec->readKey = mainCodec->readKey;
  codec->writeKey = mainCodec->writeKey;
  setCodec(file, std::move(codec));
}

int handleKeyPragma(CodecFile* file, char** args) {
  const char* name = args[1];
  const char* value = args[2];
  const bool hex = sqlite3_stricmp(name, "hexkey") == 0 || sqlite3_stricmp(name, "hexrekey") == 0;
  const bool rekey = sqlite3_stricmp(name, "rekey") == 0 || sqlite3_stricmp(name, "hexrekey") == 0;
  if (!hex && !rekey && sqlite3_stricmp(name, "key") != 0) return SQLITE_NOTFOUND;

  std::string bytes = value != nullptr ? value : "";
  if (hex && !decodeHexKey(value != nullptr ? value : "", bytes)) {
    args[0] = message("invalid hex key");
    return SQLITE_ERROR;
  }
  if (!rekey) {
    if (!bytes.empty()) installKey(file, makeKeyedCodec(bytes.data(), static_cast<int>(bytes.size())));
    return SQLITE_OK;
  }
  if (file->owner == nullptr || codecFileOf(file->owner, "main") != file) {
    args[0] = message("rekey applies to the main database only");
    return SQLITE_ERROR;
  }
  int rc = sqlite3_rekey(file->owner, bytes.data(), static_cast<int>(bytes.size()));
  if (rc != SQLITE_OK) {
    args[0] = message(sqlite3_errstr(rc));
    return rc;
  }
  return SQLITE_OK;
}

}  // namespace quorvi::codec::detail

using namespace quorvi::codec;

extern "C" int sqlite3CodecAttach(sqlite3* db, int index, const void* key, int count) {
  if (db == nullptr) return SQLITE_OK;
  detail::ConnectionLock lock(db);
  const char* name = sqlite3_db_name(db, index);
  detail::CodecFile* f = name != nullptr ? detail::codecFileOf(db, name) : nullptr;
  if (f == nullptr) return SQLITE_OK;  // in-memory database: nothing to transform
  if (f->owner == nullptr) f->owner = db;
  if (key != nullptr && count > 0) {
    detail::installKey(f, makeKeyedCodec(key, count));
  } else if (key == nullptr && count > 0 && index != 0) {
    detail::inheritMainKeys(f, db);
  }
  return SQLITE_OK;
}

extern "C" void sqlite3CodecGetKey(sqlite3* db, int, void** key, int* count) {
  if (key != nullptr) *key = nullptr;
  if (count == nullptr) return;
  *count = 0;
  if (db == nullptr) return;
  detail::ConnectionLock lock(db);
  if (detail::activeCodec(detail::codecFileOf(db, "main")) != nullptr) *count = 1;
}

extern "C" int sqlite3_key(sqlite3* db, const void* key, int count) {
  return sqlite3CodecAttach(db, 0, key, count);
}

extern "C" int sqlite3_rekey(sqlite3* db, const void* key, int count) {
  if (db == nullptr) return SQLITE_MISUSE;
  return detail::rekeyMain(db, key, count);
}
