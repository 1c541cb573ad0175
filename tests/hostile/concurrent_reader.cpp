// One reader of the concurrency test. In each round it reads the whole keyed dictionary twice
// (through its long-lived connection and through a fresh one) at two points the writer sets up
// through handshake files: while the writer's transaction has pages in the file (allowed: the
// rows of the last committed version, or SQLITE_BUSY), and after the round settled (allowed:
// exactly the version the writer committed). After the writer's rekey every read must fail with
// SQLITE_NOTADB ("file is not a database"). Anything else ends the reader with exit code 1.
// Prints its counts on stdout.
//
//   concurrent_reader DATABASE HANDSHAKE_FOLDER READER_INDEX
#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "codec/codec_vfs.h"
#include "tests/hostile/concurrent_rows.h"

namespace fs = std::filesystem;
namespace qt = quorvi::testing;

namespace {

struct Counts {
  long ok = 0, busy = 0, notADatabase = 0;
};

enum class Outcome { Ok, Busy, NotADatabase, Wrong };

struct Read {
  Outcome outcome = Outcome::Wrong;
  int version = -1;
  std::string failure;
};

Read readAll(sqlite3* db) {
  Read read;
  sqlite3_stmt* statement = nullptr;
  int rc = sqlite3_prepare_v2(db, "SELECT w_id, w_caption, w_explain FROM dict_word ORDER BY w_id",
                              -1, &statement, nullptr);
  int rows = 0;
  std::string wrong;
  while (rc == SQLITE_OK || rc == SQLITE_ROW) {
    if ((rc = sqlite3_step(statement)) != SQLITE_ROW) break;
    const int id = sqlite3_column_int(statement, 0);
    const char* caption = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
    const char* explain = reinterpret_cast<const char*>(sqlite3_column_text(statement, 2));
    if (read.version < 0 && explain != nullptr && explain[0] == 'v')
      read.version = std::atoi(explain + 1);
    if (wrong.empty() && (id != rows + 1 || caption == nullptr || explain == nullptr ||
                          qt::concurrentCaption(id) != caption ||
                          qt::concurrentExplain(id, read.version) != explain))
      wrong = "row " + std::to_string(rows + 1) + " reads \"" + (caption ? caption : "NULL") +
              "\" / \"" + (explain ? explain : "NULL") + "\"";
    ++rows;
  }
  const int code = rc == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
  const std::string message = sqlite3_errmsg(db);
  sqlite3_finalize(statement);
  if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
    read.outcome = Outcome::Busy;
  } else if (code == SQLITE_NOTADB) {
    read.outcome = Outcome::NotADatabase;
  } else if (code != SQLITE_OK) {
    read.failure = "query failed: " + message;
  } else if (!wrong.empty() || rows != qt::kConcurrentRows) {
    read.failure = wrong.empty() ? std::to_string(rows) + " rows instead of " +
                                       std::to_string(qt::kConcurrentRows)
                                 : wrong;
  } else {
    read.outcome = Outcome::Ok;
  }
  return read;
}

sqlite3* openKeyed(const char* path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "reader: cannot open %s: %s\n", path, sqlite3_errmsg(db));
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_key(db, qt::kConcurrentKey, static_cast<int>(std::strlen(qt::kConcurrentKey)));
  return db;
}

// What a read may give at one point of the handshake.
struct Allowed {
  int version;        // the rows must be of this version
  bool busy;          // SQLITE_BUSY is allowed
  bool notADatabase;  // only SQLITE_NOTADB is allowed
};

class Reader {
 public:
  Reader(const char* path, sqlite3* longLived) : path_(path), longLived_(longLived) {}

  // Reads through the long-lived connection and through a fresh one; false on any outcome
  // `allowed` does not admit.
  bool readBoth(const Allowed& allowed, const char* when) {
    for (int pass = 0; pass < 2; ++pass) {
      sqlite3* db = pass == 0 ? longLived_ : openKeyed(path_);
      if (db == nullptr) return false;
      const Read read = readAll(db);
      if (db != longLived_) sqlite3_close(db);
      if (!admit(read, allowed)) {
        std::fprintf(stderr, "reader: %s (%s connection): %s\n", when,
                     pass == 0 ? "long-lived" : "fresh",
                     read.failure.empty() ? describe(read).c_str() : read.failure.c_str());
        return false;
      }
    }
    return true;
  }
  const Counts& counts() const { return counts_; }

 private:
  bool admit(const Read& read, const Allowed& allowed) {
    switch (read.outcome) {
      case Outcome::Ok:
        ++counts_.ok;
        return !allowed.notADatabase && read.version == allowed.version;
      case Outcome::Busy:
        ++counts_.busy;
        return allowed.busy;
      case Outcome::NotADatabase:
        ++counts_.notADatabase;
        return allowed.notADatabase;
      case Outcome::Wrong:
        return false;
    }
    return false;
  }
  static std::string describe(const Read& read) {
    switch (read.outcome) {
      case Outcome::Ok:
        return "rows of version " + std::to_string(read.version);
      case Outcome::Busy:
        return "busy";
      case Outcome::NotADatabase:
        return "not a database";
      case Outcome::Wrong:
        break;
    }
    return "wrong rows";
  }

  const char* path_;
  sqlite3* longLived_;
  Counts counts_;
};

int run(const fs::path& folder, int index, Reader& reader) {
  int committed = 0;
  for (int round = 1; round <= qt::kConcurrentRounds; ++round) {
    if (!qt::waitForStep(folder / qt::handshakeName("spilled", round))) return 1;
    if (!reader.readBoth({committed, true, false}, "during a write")) return 1;
    qt::signalStep(folder / qt::handshakeName("read", round, index));

    const fs::path settled = folder / qt::handshakeName("settled", round);
    if (!qt::waitForStep(settled)) return 1;
    committed = qt::readStepNumber(settled);
    if (!reader.readBoth({committed, false, false}, "after a round")) return 1;
    qt::signalStep(folder / qt::handshakeName("checked", round, index));
  }
  if (!qt::waitForStep(folder / "rekeyed")) return 1;
  return reader.readBoth({-1, false, true}, "after the rekey") ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: concurrent_reader DATABASE HANDSHAKE_FOLDER READER_INDEX\n");
    return 2;
  }
  const char* path = argv[1];
  quorvi::codec::registerCodecVfs();
  sqlite3* longLived = openKeyed(path);
  if (longLived == nullptr) return 1;
  Reader reader(path, longLived);
  const int result = run(argv[2], std::atoi(argv[3]), reader);
  sqlite3_close(longLived);
  const Counts& counts = reader.counts();
  std::printf("ok=%ld busy=%ld notadb=%ld\n", counts.ok, counts.busy, counts.notADatabase);
  return result;
}
