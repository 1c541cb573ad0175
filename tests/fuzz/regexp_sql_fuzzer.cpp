// The REGEXP module on arbitrary (pattern, value) pairs, through SQL as the searches use it.
// Input: pattern bytes, a zero byte, value bytes (no zero byte: the whole input is the pattern
// and the value is empty). The pattern goes in as a bound parameter over a small table so that
// one compiled pattern serves several rows, as in a search. Every statement must end in rows or
// in an error from the module ("regexp: ..."); the backtracking limits keep each match short,
// which libFuzzer's -timeout guards.
#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

sqlite3* db = nullptr;
sqlite3_stmt* scanTable = nullptr;
sqlite3_stmt* matchPair = nullptr;
sqlite3_stmt* insertValue = nullptr;

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "%s: %s\n", what, db ? sqlite3_errmsg(db) : "");
  std::abort();
}

void prepare(const char* sql, sqlite3_stmt** statement) {
  if (sqlite3_prepare_v2(db, sql, -1, statement, nullptr) != SQLITE_OK) fail(sql);
}

// Steps a statement to its end; a failure must come from the module, never the engine.
void runToEnd(sqlite3_stmt* statement) {
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) {
    const char* message = sqlite3_errmsg(db);
    if (rc != SQLITE_ERROR || std::strncmp(message, "regexp: ", 8) != 0)
      fail("statement failed outside the module");
  }
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (sqlite3_open(":memory:", &db) != SQLITE_OK) fail("open");
  sqlite3_enable_load_extension(db, 1);
  char* error = nullptr;
  if (sqlite3_load_extension(db, QUORVI_REGEXP_MODULE, nullptr, &error) != SQLITE_OK) {
    std::fprintf(stderr, "cannot load the module: %s\n", error ? error : "");
    std::abort();
  }
  // The value under test sits between headword-like rows and a NULL.
  if (sqlite3_exec(db,
                   "CREATE TABLE dict_word (w_caption TEXT);"
                   "INSERT INTO dict_word VALUES ('example'), ('i&#609;&#712;z&#593;&#720;mpl'),"
                   " (NULL), ('caf\xc3\xa9'), (''), ('London');",
                   nullptr, nullptr, nullptr) != SQLITE_OK)
    fail("schema");
  prepare("INSERT OR REPLACE INTO dict_word (rowid, w_caption) VALUES (100, ?)", &insertValue);
  prepare("SELECT w_caption FROM dict_word WHERE w_caption REGEXP ? LIMIT 100", &scanTable);
  prepare("SELECT ?2 REGEXP ?1, CAST(?2 AS BLOB) REGEXP ?1", &matchPair);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  const void* zero = std::memchr(data, 0, size);
  const size_t patternBytes = zero ? static_cast<const uint8_t*>(zero) - data : size;
  const std::string pattern(bytes, patternBytes);
  const std::string value =
      zero ? std::string(bytes + patternBytes + 1, size - patternBytes - 1) : std::string();

  // The value as one more row of the table, replacing that of the previous run.
  sqlite3_bind_text(insertValue, 1, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
  if (sqlite3_step(insertValue) != SQLITE_DONE) fail("insert");
  sqlite3_reset(insertValue);

  sqlite3_bind_text(scanTable, 1, pattern.data(), static_cast<int>(pattern.size()), SQLITE_STATIC);
  runToEnd(scanTable);

  sqlite3_bind_text(matchPair, 1, pattern.data(), static_cast<int>(pattern.size()), SQLITE_STATIC);
  sqlite3_bind_blob(matchPair, 2, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
  runToEnd(matchPair);
  return 0;
}
