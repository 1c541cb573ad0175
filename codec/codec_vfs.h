// Encrypted databases on a distribution SQLite: a file-system shim below the engine that
// encrypts every database page on its way to disk and decrypts it on its way back, and the
// key operations that give a connection its keys.
//
// Keys reach a database in one of these ways:
//   sqlite3_key(db, passphrase, n)               after sqlite3_open*, before the first statement
//   PRAGMA key = 'passphrase' / hexkey = '...'   same, from SQL
//   file:name.db?key=passphrase (or hexkey=...)  URI parameter, also for ATTACH
// and sqlite3_rekey / PRAGMA rekey / hexrekey re-encrypt the main database under a new key
// (or write it plain when the key is empty).
#pragma once

#include <sqlite3.h>

#ifdef __cplusplus
extern "C" {
#endif

// Always SQLITE_OK; a null key or a count of 0 or less installs nothing. Keying again replaces
// the earlier key. A wrong key shows up as "file is encrypted or is not a database" when the
// first statement reads the database.
int sqlite3_key(sqlite3* db, const void* key, int count);

// Rewrites every page of the main database under the new key (plain for a null key or a count
// of 0), inside one journalled write transaction. Returns an SQLite result code; on failure the
// database keeps its old key.
int sqlite3_rekey(sqlite3* db, const void* key, int count);

// Keys database `index` of the connection (0 = main). A null key with a positive count on an
// attached database shares the main database's keys. Always SQLITE_OK.
int sqlite3CodecAttach(sqlite3* db, int index, const void* key, int count);

// Never hands out key material: *key = null, *count = 1 when the main database is keyed, else 0.
void sqlite3CodecGetKey(sqlite3* db, int index, void** key, int* count);

#ifdef __cplusplus
}

namespace quorvi::codec {

// Registers the shim over the current default VFS and makes it the default. Idempotent and
// thread-safe; returns SQLITE_OK (or SQLite's error when it cannot initialise).
int registerCodecVfs();

// Name under which the shim is registered.
inline constexpr const char* kCodecVfsName = "quorvi-codec";

}  // namespace quorvi::codec
#endif
