// One reader of the concurrency test: reads the whole keyed dictionary again and again until
// its time is up, through fresh connections and through one long-lived connection, and checks
// every read. Allowed outcomes: all rows of one version, SQLITE_BUSY, or SQLITE_NOTADB ("file is
// not a database") once the rekey marker exists. Anything else (missing, extra or wrong rows,
// another error) ends the reader with exit code 1. Prints its counts on stdout.
//
//   concurrent_reader DATABASE REKEY_MARKER SECONDS
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "codec/codec_vfs.h"
#include "tests/hostile/concurrent_rows.h"

namespace {

struct Counts {
  long ok = 0, busy = 0, notADatabase = 0;
};

enum class Outcome { Ok, Busy, NotADatabase, Wrong };

std::string failure;

Outcome readAll(sqlite3* db) {
  sqlite3_stmt* statement = nullptr;
  int rc = sqlite3_prepare_v2(db, "SELECT w_id, w_caption, w_explain FROM dict_word ORDER BY w_id",
                              -1, &statement, nullptr);
  int rows = 0, version = -1;
  std::string wrong;
  while (rc == SQLITE_OK || rc == SQLITE_ROW) {
    if ((rc = sqlite3_step(statement)) != SQLITE_ROW) break;
    const int id = sqlite3_column_int(statement, 0);
    const char* caption = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
    const char* explain = reinterpret_cast<const char*>(sqlite3_column_text(statement, 2));
    if (version < 0 && explain != nullptr && explain[0] == 'v') version = std::atoi(explain + 1);
    if (wrong.empty() &&
        (id != rows + 1 || caption == nullptr || explain == nullptr ||
         quorvi::testing::concurrentCaption(id) != caption ||
         quorvi::testing::concurrentExplain(id, version) != explain))
      wrong = "row " + std::to_string(rows + 1) + " reads \"" + (caption ? caption : "NULL") +
              "\" / \"" + (explain ? explain : "NULL") + "\"";
    ++rows;
  }
  const int code = rc == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
  const std::string message = sqlite3_errmsg(db);
  sqlite3_finalize(statement);
  if (code == SQLITE_BUSY || code == SQLITE_LOCKED) return Outcome::Busy;
  if (code == SQLITE_NOTADB) return Outcome::NotADatabase;
  if (code != SQLITE_OK) {
    failure = "query failed: " + message;
    return Outcome::Wrong;
  }
  if (!wrong.empty() || rows != quorvi::testing::kConcurrentRows) {
    failure = wrong.empty() ? std::to_string(rows) + " rows instead of " +
                                  std::to_string(quorvi::testing::kConcurrentRows)
                            : wrong;
    return Outcome::Wrong;
  }
  return Outcome::Ok;
}

sqlite3* openKeyed(const char* path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "reader: cannot open %s: %s\n", path, sqlite3_errmsg(db));
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_key(db, quorvi::testing::kConcurrentKey, static_cast<int>(std::strlen(quorvi::testing::kConcurrentKey)));
  return db;
}

// Reads until `until`, alternating between the long-lived connection and fresh ones.
// Returns the exit code.
int readUntil(const char* path, const char* marker, std::chrono::steady_clock::time_point until,
              sqlite3* longLived, Counts& counts) {
  for (long round = 0; std::chrono::steady_clock::now() < until; ++round) {
    sqlite3* db = round % 2 == 0 ? longLived : openKeyed(path);
    if (db == nullptr) return 1;
    const Outcome outcome = readAll(db);
    if (db != longLived) sqlite3_close(db);
    switch (outcome) {
      case Outcome::Ok:
        ++counts.ok;
        break;
      case Outcome::Busy:
        ++counts.busy;
        break;
      case Outcome::NotADatabase:
        // Only a committed rekey may make the old key wrong; the writer leaves the marker right
        // after the rekey returns, so give it a moment.
        for (int wait = 0; wait < 50 && access(marker, F_OK) != 0; ++wait)
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (access(marker, F_OK) != 0) {
          std::fprintf(stderr, "reader: the key stopped working before any rekey\n");
          return 1;
        }
        ++counts.notADatabase;
        break;
      case Outcome::Wrong:
        std::fprintf(stderr, "reader: %s\n", failure.c_str());
        return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: concurrent_reader DATABASE REKEY_MARKER SECONDS\n");
    return 2;
  }
  const char* path = argv[1];
  const char* marker = argv[2];
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[3]));
  quorvi::codec::registerCodecVfs();

  Counts counts;
  sqlite3* longLived = openKeyed(path);
  if (longLived == nullptr) return 1;
  const int result = readUntil(path, marker, until, longLived, counts);
  sqlite3_close(longLived);
  if (result == 0)
    std::printf("ok=%ld busy=%ld notadb=%ld\n", counts.ok, counts.busy, counts.notADatabase);
  return result;
}
