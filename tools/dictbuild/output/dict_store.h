#pragma once
// Opening a keyed dictionary file the way the engine does: the encrypting VFS as default,
// then the passphrase.
#include <string>

struct sqlite3;

namespace quorvi::dictbuild {

// Opens (and with `create`, creates) the database at path and keys it. On failure returns
// nullptr and fills error; nothing is left open.
sqlite3* openKeyedDatabase(const std::string& path, bool create, std::string& error);

}  // namespace quorvi::dictbuild
