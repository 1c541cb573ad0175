// Keyed databases and shared cache.
//
// Connections in shared-cache mode share one file and one page cache: they cannot hold keys of
// their own, and one that never gave a key would read the decrypted pages straight from the
// cache. So a keyed database is never shared: a connection that joins a keyed file through a
// shared cache is refused every statement (SQLite reports "not authorized"), and a file that
// several connections share cannot be keyed or rekeyed (key_operations.cpp, rekey.cpp).
#include "codec/codec_vfs_internal.h"

namespace quorvi::codec::detail {
namespace {

int refuseEverything(void*, int, const char*, const char*, const char*, const char*) {
  return SQLITE_DENY;
}

}  // namespace

void noteSharedAttachment(CodecFile* file, sqlite3* db) {
  if (db != nullptr && activeCodec(file) != nullptr)
    sqlite3_set_authorizer(db, refuseEverything, nullptr);
}

}  // namespace quorvi::codec::detail
