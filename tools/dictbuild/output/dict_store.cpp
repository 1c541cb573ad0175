#include "dict_store.h"

#include <sqlite3.h>

#include "codec/codec_vfs.h"
#include "engine/dictionary_key.h"

namespace quorvi::dictbuild {

sqlite3* openKeyedDatabase(const std::string& path, bool create, std::string& error) {
  quorvi::codec::registerCodecVfs();
  sqlite3* db = nullptr;
  int flags = create ? (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) : SQLITE_OPEN_READONLY;
  int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    error = "cannot open " + path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    sqlite3_close(db);
    return nullptr;
  }
  rc =
      sqlite3_key(db, kDictionaryPassphrase.data(), static_cast<int>(kDictionaryPassphrase.size()));
  if (rc != SQLITE_OK) {
    error = "cannot key " + path + ": " + sqlite3_errstr(rc);
    sqlite3_close(db);
    return nullptr;
  }
  return db;
}

}  // namespace quorvi::dictbuild
