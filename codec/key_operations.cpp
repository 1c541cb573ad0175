// Key operations: sqlite3_key, sqlite3_rekey, sqlite3CodecAttach, sqlite3CodecGetKey and the
// key pragmas, and the rules on when a key may be given.
//
// When a key may be given
// -----------------------
// Installing a key (sqlite3_key, PRAGMA key or hexkey) changes how pages are read and written,
// not what lies on disk. Giving the key the database already has is always accepted; another
// key is refused (SQLITE_ERROR, with a message) while
//   - the connection has a transaction open: its dirty pages would go out under the new key
//     and the rest of the file stay under the old one;
//   - the database was already read or written under the current keys: the file and the
//     connection's page cache no longer agree with the new key;
//   - the file is shared with other connections through a shared cache (see shared_cache.cpp).
// An empty key pragma on a keyed database is refused as well: it cannot make the database
// plain. (sqlite3_key with an empty key installs nothing and answers SQLITE_OK.)
// The pragmas answer one row, column "ok", value "ok", when they took effect.
#include <sqlite3.h>

#include <string>

#include "codec/codec_vfs.h"
#include "codec/codec_vfs_internal.h"
#include "codec/connection_error.h"
#include "codec/rekey.h"

namespace quorvi::codec::detail {
namespace {

constexpr const char kPragmaAnswer[] = "ok";
constexpr const char kEmptyKeyRefusal[] =
    "an empty key cannot replace a key: rekey='' writes the database plain";

class ConnectionLock {
 public:
  explicit ConnectionLock(sqlite3* db) : mutex_(sqlite3_db_mutex(db)) {
    sqlite3_mutex_enter(mutex_);
  }
  ~ConnectionLock() { sqlite3_mutex_leave(mutex_); }
  ConnectionLock(const ConnectionLock&) = delete;
  ConnectionLock& operator=(const ConnectionLock&) = delete;

 private:
  sqlite3_mutex* mutex_;
};

bool holdsKey(const CodecFile* f, const std::string& bytes) {
  const PageCodec* c = activeCodec(f);
  return c != nullptr &&
         c->holdsOnly(deriveDatabaseKey(bytes.data(), static_cast<int>(bytes.size())));
}

// Why another key may not be given to `f` now, or null.
const char* keyRefusal(const CodecFile* f, sqlite3* db) {
  if (db != nullptr && sqlite3_get_autocommit(db) == 0)
    return "cannot change the key inside a transaction";
  if (f->attachments > 1) return "cannot key a database shared with other connections";
  if (f->contentSeen) return "the database was already read under another key";
  return nullptr;
}

// Installs the key unless refused; returns the refusal or null.
const char* giveKey(CodecFile* f, sqlite3* db, const std::string& bytes) {
  if (holdsKey(f, bytes)) return nullptr;
  if (const char* why = keyRefusal(f, db)) return why;
  setCodec(f, makeKeyedCodec(bytes.data(), static_cast<int>(bytes.size())));
  // Pages cached under an earlier key must be read again.
  if (db != nullptr) sqlite3_db_release_memory(db);
  return nullptr;
}

char* message(const char* text) {
  return sqlite3_mprintf("%s", text);
}

int answerPragma(char** args, int rc, const char* why) {
  args[0] = message(rc == SQLITE_OK ? kPragmaAnswer : why);
  return rc;
}

int rekeyPragma(CodecFile* file, const std::string& bytes, char** args) {
  sqlite3* db = connectionOf(file);
  if (db == nullptr || codecFileOf(db, "main") != file) {
    return answerPragma(args, SQLITE_ERROR, "rekey applies to the main database only");
  }
  ConnectionLock lock(db);
  RekeyOutcome outcome = rekeyMain(db, bytes.data(), static_cast<int>(bytes.size()));
  return answerPragma(args, outcome.rc, outcome.message.c_str());
}

}  // namespace

void inheritMainKeys(CodecFile* file, sqlite3* db) {
  CodecFile* mainFile = codecFileOf(db, "main");
  if (mainFile == nullptr || mainFile == file) return;
  PageCodec* mainCodec = activeCodec(mainFile);
  if (mainCodec == nullptr || !mainCodec->readKey || !mainCodec->writeKey) return;
  auto codec = std::make_unique<PageCodec>();
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
    return answerPragma(args, SQLITE_ERROR, "invalid hex key");
  }
  if (rekey) return rekeyPragma(file, bytes, args);
  // An empty key asks for a plain database: nothing to do on one, and no way to make a keyed
  // one plain (its pages stay encrypted; that is what rekey is for).
  const char* why = !bytes.empty()                 ? giveKey(file, connectionOf(file), bytes)
                    : activeCodec(file) != nullptr ? kEmptyKeyRefusal
                                                   : nullptr;
  return answerPragma(args, why == nullptr ? SQLITE_OK : SQLITE_ERROR, why);
}

}  // namespace quorvi::codec::detail

using namespace quorvi::codec;

extern "C" int sqlite3CodecAttach(sqlite3* db, int index, const void* key, int count) {
  if (db == nullptr) return SQLITE_OK;
  detail::ConnectionLock lock(db);
  const char* name = sqlite3_db_name(db, index);
  detail::CodecFile* f = name != nullptr ? detail::codecFileOf(db, name) : nullptr;
  if (f == nullptr) return SQLITE_OK;  // in-memory database: nothing to transform
  if (key != nullptr && count > 0) {
    const std::string bytes(static_cast<const char*>(key), static_cast<std::size_t>(count));
    if (const char* why = detail::giveKey(f, db, bytes))
      return detail::reportError(db, SQLITE_ERROR, why);
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
  detail::ConnectionLock lock(db);
  detail::RekeyOutcome outcome = detail::rekeyMain(db, key, count);
  return detail::reportError(db, outcome.rc, outcome.message.c_str());
}
