// The learner database's schema: its version (PRAGMA user_version) and the migrations that
// bring an older file up to it, all in one place. A later table is one more migration.
#pragma once

#include <string>

struct sqlite3;

namespace quorvi::learner {

// The version this program writes.
inline constexpr int kSchemaVersion = 3;

// Brings the open database from its version up to kSchemaVersion in one write transaction
// (a fresh file is version 0). Returns SQLITE_OK with the version reached in `version`, or
// the failing SQLite code with `error` set. A file newer than this program is left as it
// is: SQLITE_ERROR and an error saying so.
int migrateSchema(sqlite3* db, int& version, std::string& error);

}  // namespace quorvi::learner
