// The rekey: rewriting every page of the main database under a new key, or plain.
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
#include "codec/rekey.h"

#include <string>

#include "codec/codec_vfs_internal.h"

namespace quorvi::codec::detail {
namespace {

// A database that changes under every attempt is given up on.
constexpr int kRekeyAttempts = 16;

std::string journalMode(sqlite3* db, const char* change) {
  std::string sql = "PRAGMA main.journal_mode";
  if (change != nullptr) sql += std::string("=") + change;
  sqlite3_stmt* stmt = nullptr;
  std::string mode;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
      sqlite3_step(stmt) == SQLITE_ROW) {
    if (const unsigned char* text = sqlite3_column_text(stmt, 0))
      mode = reinterpret_cast<const char*>(text);
  }
  sqlite3_finalize(stmt);
  return mode;
}

unsigned dataVersion(sqlite3* db) {
  unsigned version = 0;
  sqlite3_file_control(db, "main", SQLITE_FCNTL_DATA_VERSION, &version);
  return version;
}

// The result of a step, with SQLite's message taken at once (later statements overwrite it).
RekeyOutcome failure(int rc, sqlite3* db) {
  return {rc, db != nullptr && sqlite3_errcode(db) != SQLITE_OK ? sqlite3_errmsg(db)
                                                                : sqlite3_errstr(rc)};
}

int copyAll(sqlite3* to, sqlite3* from) {
  sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
  if (backup == nullptr) return sqlite3_errcode(to);
  int rc = sqlite3_backup_step(backup, -1);
  int finished = sqlite3_backup_finish(backup);
  return rc == SQLITE_DONE ? finished : rc;
}

// Keys for the write-back: read = current key, write = new key (none = plain).
PageCodec* enterRekeying(CodecFile* f, const void* key, int count) {
  PageCodec* c = activeCodec(f);
  if (c == nullptr) {  // plain database: pages are read plain and written under the new key
    auto fresh = std::make_unique<PageCodec>();
    c = fresh.get();
    setCodec(f, std::move(fresh));
  }
  c->writeKey.reset();
  if (key != nullptr && count > 0) c->writeKey = deriveDatabaseKey(key, count);
  c->rekeying = true;
  return c;
}

void leaveRekeying(CodecFile* f, PageCodec* c, bool succeeded) {
  if (succeeded) {
    c->readKey = c->writeKey;
  } else {
    c->writeKey = c->readKey;
  }
  c->endRekey();
  if (!c->readKey) setCodec(f, nullptr);  // plain from now on
}

// Writes `copy` back over the main database under the new key, unless someone committed since
// the copy was taken (then `changed` is set and nothing is written).
RekeyOutcome writeBack(sqlite3* db, CodecFile* f, sqlite3* copy, unsigned copiedVersion,
                       const void* key, int count, bool& changed) {
  sqlite3_backup* backup = sqlite3_backup_init(db, "main", copy, "main");
  if (backup == nullptr) return failure(sqlite3_errcode(db), db);
  PageCodec* c = enterRekeying(f, key, count);
  int rc = sqlite3_backup_step(backup, 0);  // the write lock, and nothing copied yet
  changed = rc == SQLITE_OK && dataVersion(db) != copiedVersion;
  if (rc == SQLITE_OK && !changed) rc = sqlite3_backup_step(backup, -1);
  if (rc == SQLITE_DONE) rc = SQLITE_OK;
  RekeyOutcome outcome = rc != SQLITE_OK ? failure(rc, db) : RekeyOutcome{};
  int finished = sqlite3_backup_finish(backup);
  if (outcome.rc == SQLITE_OK && finished != SQLITE_OK) outcome = failure(finished, db);
  leaveRekeying(f, c, outcome.rc == SQLITE_OK && !changed);
  if (outcome.rc != SQLITE_OK) {
    // Let SQLite play back a journal it left hot, now under the old key.
    sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
  }
  return outcome;
}

RekeyOutcome copyAndWriteBack(sqlite3* db, CodecFile* f, const void* key, int count) {
  for (int attempt = 0; attempt < kRekeyAttempts; ++attempt) {
    sqlite3* copy = nullptr;
    int rc =
        sqlite3_open_v2(":memory:", &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    RekeyOutcome outcome = rc == SQLITE_OK ? RekeyOutcome{} : RekeyOutcome{rc, sqlite3_errstr(rc)};
    if (outcome.rc == SQLITE_OK && (rc = copyAll(copy, db)) != SQLITE_OK) outcome = failure(rc, db);
    bool changed = false;
    if (outcome.rc == SQLITE_OK)
      outcome = writeBack(db, f, copy, dataVersion(db), key, count, changed);
    sqlite3_close(copy);
    if (outcome.rc != SQLITE_OK || !changed) return outcome;
  }
  return {SQLITE_BUSY, "the database kept changing while it was being rekeyed"};
}

// Why the main database of `db` cannot be rekeyed now, or null.
RekeyOutcome refusal(sqlite3* db, CodecFile* f) {
  if (sqlite3_get_autocommit(db) == 0) return {SQLITE_ERROR, "cannot rekey inside a transaction"};
  if (f->attachments > 1)
    return {SQLITE_ERROR, "cannot rekey a database shared with other connections"};
  if (sqlite3_db_readonly(db, "main") == 1)
    return {SQLITE_READONLY, "cannot rekey a read-only database"};
  return {};
}

}  // namespace

RekeyOutcome rekeyMain(sqlite3* db, const void* key, int count) {
  CodecFile* f = codecFileOf(db, "main");
  if (f == nullptr) return {};  // in-memory or temporary: nothing on disk to rewrite
  const bool newKey = key != nullptr && count > 0;
  if (!newKey && activeCodec(f) == nullptr) return {};
  if (RekeyOutcome refused = refusal(db, f); refused.rc != SQLITE_OK) return refused;

  const std::string oldMode = journalMode(db, nullptr);
  if (oldMode.empty())
    return failure(sqlite3_errcode(db) != SQLITE_OK ? sqlite3_errcode(db) : SQLITE_ERROR, db);
  if (oldMode != "truncate" && journalMode(db, "truncate") != "truncate") {
    return {SQLITE_BUSY, "cannot leave the journal mode " + oldMode +
                             " while other connections use the database"};
  }
  RekeyOutcome outcome = copyAndWriteBack(db, f, key, count);
  if (oldMode != "truncate") journalMode(db, oldMode.c_str());
  return outcome;
}

}  // namespace quorvi::codec::detail
