#include "dict_store.h"

#include <sqlite3.h>

#ifdef QUORVI_DICTBUILD_HAVE_CODEC
#include "codec/codec_vfs.h"
#endif

namespace quorvi::dictbuild {

bool pagesAreEncrypted() {
#ifdef QUORVI_DICTBUILD_HAVE_CODEC
    return true;
#else
    return false;
#endif
}

sqlite3* openKeyedDatabase(const std::string& path, bool create, std::string& error) {
#ifdef QUORVI_DICTBUILD_HAVE_CODEC
    quorvi::codec::registerCodecVfs();
#endif
    sqlite3* db = nullptr;
    int flags = create ? (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) : SQLITE_OPEN_READONLY;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        error = "cannot open " + path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return nullptr;
    }
#ifdef QUORVI_DICTBUILD_HAVE_CODEC
    rc = sqlite3_key(db, kPassphrase, kPassphraseLength);
    if (rc != SQLITE_OK) {
        error = "cannot key " + path + ": " + sqlite3_errstr(rc);
        sqlite3_close(db);
        return nullptr;
    }
#endif
    return db;
}

}  // namespace quorvi::dictbuild
