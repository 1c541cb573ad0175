#pragma once
// Opening a keyed dictionary file the way the engine does: the encrypting VFS as default,
// then the passphrase.
#include <string>

struct sqlite3;

namespace quorvi::dictbuild {

inline constexpr char kPassphrase[] = "harbor_lanternfish_sonatina";
inline constexpr int kPassphraseLength = 27;

// True when this build writes encrypted pages (the codec library was available).
bool pagesAreEncrypted();

// Opens (and with `create`, creates) the database at path and keys it. On failure returns
// nullptr and fills error; nothing is left open.
sqlite3* openKeyedDatabase(const std::string& path, bool create, std::string& error);

}  // namespace quorvi::dictbuild
