#include "learner/schema.h"

#include <sqlite3.h>

namespace quorvi::learner {
namespace {

// migrations[i] takes a database from version i to version i + 1.
const char* const kMigrations[] = {
    // 1: what the learner opened (one row a word: last time, how often, and an ever-growing
    // sequence number that orders it among the others), and the learner's own words.
    "CREATE TABLE history ("
    " word TEXT PRIMARY KEY NOT NULL,"
    " last_opened INTEGER NOT NULL,"
    " opened_count INTEGER NOT NULL DEFAULT 1,"
    " sequence INTEGER NOT NULL);"
    "CREATE TABLE my_words ("
    " word TEXT PRIMARY KEY NOT NULL,"
    " added INTEGER NOT NULL,"
    " sequence INTEGER NOT NULL);",
    // 2: newest first without sorting the whole history.
    "CREATE INDEX history_newest ON history(sequence);"
    "CREATE INDEX my_words_newest ON my_words(sequence);",
    // 3: the listening drill. Per word its box (1..5), the question number from which it is
    // due again, how often it was answered right and wrong, and when it was last asked; per
    // confusion (a stored sound heard as another) how often; and the questions asked so far.
    "CREATE TABLE drill_words ("
    " word TEXT PRIMARY KEY NOT NULL,"
    " box INTEGER NOT NULL,"
    " due_after INTEGER NOT NULL,"
    " times_right INTEGER NOT NULL DEFAULT 0,"
    " times_wrong INTEGER NOT NULL DEFAULT 0,"
    " last_asked INTEGER NOT NULL);"
    "CREATE TABLE drill_confusions ("
    " stored TEXT NOT NULL,"
    " heard TEXT NOT NULL,"
    " count INTEGER NOT NULL,"
    " PRIMARY KEY (stored, heard)) WITHOUT ROWID;"
    "CREATE TABLE drill_progress ("
    " id INTEGER PRIMARY KEY CHECK (id = 1),"
    " questions INTEGER NOT NULL);"
    "INSERT INTO drill_progress VALUES (1, 0);",
};
static_assert(sizeof kMigrations / sizeof kMigrations[0] == kSchemaVersion);

int readVersion(sqlite3* db, int& version) {
  sqlite3_stmt* statement = nullptr;
  int rc = sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &statement, nullptr);
  if (rc != SQLITE_OK) return rc;
  rc = sqlite3_step(statement);
  if (rc == SQLITE_ROW) {
    version = sqlite3_column_int(statement, 0);
    rc = SQLITE_OK;
  }
  sqlite3_finalize(statement);
  return rc;
}

}  // namespace

int migrateSchema(sqlite3* db, int& version, std::string& error) {
  int rc = readVersion(db, version);
  if (rc != SQLITE_OK) {
    error = sqlite3_errmsg(db);
    return rc;
  }
  if (version == kSchemaVersion) return SQLITE_OK;
  if (version > kSchemaVersion || version < 0) {
    error = "it was written by a newer version of the program (schema " + std::to_string(version) +
            ", this one knows " + std::to_string(kSchemaVersion) + ")";
    return SQLITE_ERROR;
  }
  // Another program may be migrating the same file: the version is read again under the
  // write lock.
  rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) rc = readVersion(db, version);
  while (rc == SQLITE_OK && version < kSchemaVersion) {
    rc = sqlite3_exec(db, kMigrations[version], nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) break;
    ++version;
    const std::string setVersion = "PRAGMA user_version=" + std::to_string(version);
    rc = sqlite3_exec(db, setVersion.c_str(), nullptr, nullptr, nullptr);
  }
  if (rc == SQLITE_OK && version > kSchemaVersion) {
    error = "it was written by a newer version of the program";
    rc = SQLITE_ERROR;
  }
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    if (error.empty()) error = sqlite3_errmsg(db);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    readVersion(db, version);
  }
  return rc;
}

}  // namespace quorvi::learner
