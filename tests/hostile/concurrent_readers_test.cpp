// Several reader processes read one keyed dictionary while this process writes to it (commits
// and rollbacks that spill pages into the file) and finally rekeys it. Readers must only ever
// see a whole version of the rows, SQLITE_BUSY, or, after the rekey, SQLITE_NOTADB ("file is
// not a database"; older SQLite says "file is encrypted or is not a database").
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "codec/codec_vfs.h"
#include "tests/engine/test_dictionary.h"
#include "tests/hostile/concurrent_rows.h"
#include "tests/hostile/hostile_support.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
namespace qt = quorvi::testing;

namespace {

int exec(sqlite3* db, const std::string& sql) {
  return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

sqlite3* openKeyed(const fs::path& path, const char* key, int flags) {
  qt::HangGuard guard("opening " + path.string(), 60s);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_key(db, key, static_cast<int>(std::strlen(key)));
  return db;
}

// Rows of version `version` throughout, or the first problem found.
std::string checkRows(sqlite3* db, int version) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT w_id, w_caption, w_explain FROM dict_word ORDER BY w_id", -1,
                         &statement, nullptr) != SQLITE_OK)
    return sqlite3_errmsg(db);
  int rows = 0;
  std::string problem;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    ++rows;
    const int id = sqlite3_column_int(statement, 0);
    const auto* caption = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
    const auto* explain = reinterpret_cast<const char*>(sqlite3_column_text(statement, 2));
    if (problem.empty() && (id != rows || !caption || !explain ||
                            qt::concurrentCaption(id) != caption ||
                            qt::concurrentExplain(id, version) != explain))
      problem = "row " + std::to_string(rows) + " differs";
  }
  sqlite3_finalize(statement);
  if (problem.empty() && rows != qt::kConcurrentRows) problem = std::to_string(rows) + " rows";
  return problem;
}

TEST(ConcurrentReaders, SeeWholeVersionsBusyOrTheNewKeyNeverWrongRows) {
  qt::TemporaryFolder folder;
  const fs::path path = folder.path() / "words.db";
  const fs::path marker = folder.path() / "rekeyed";
  ASSERT_EQ(quorvi::codec::registerCodecVfs(), SQLITE_OK);

  sqlite3* writer = openKeyed(path, qt::kConcurrentKey, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  ASSERT_NE(writer, nullptr);
  ASSERT_EQ(exec(writer, "PRAGMA page_size=1024; CREATE TABLE dict_word (w_id INTEGER PRIMARY KEY,"
                         " w_caption TEXT, w_phonetic TEXT, w_explain TEXT)"),
            SQLITE_OK)
      << sqlite3_errmsg(writer);
  ASSERT_EQ(exec(writer, "BEGIN"), SQLITE_OK);
  for (int id = 1; id <= qt::kConcurrentRows; ++id)
    ASSERT_EQ(exec(writer, "INSERT INTO dict_word VALUES (" + std::to_string(id) + ", '" +
                               qt::concurrentCaption(id) + "', 'k&#230;t', '" +
                               qt::concurrentExplain(id, 0) + "')"),
              SQLITE_OK);
  ASSERT_EQ(exec(writer, "COMMIT"), SQLITE_OK);
  // A small cache makes a large transaction spill pages into the file before it commits.
  exec(writer, "PRAGMA cache_size=8");
  sqlite3_busy_timeout(writer, 10000);

  constexpr int kReaders = 4;
  constexpr int kReaderSeconds = 8;
  std::vector<std::thread> threads;
  std::vector<qt::ChildRun> runs(kReaders);
  for (int i = 0; i < kReaders; ++i)
    threads.emplace_back([&, i] {
      runs[i] = qt::runChild(QUORVI_CONCURRENT_READER,
                             {path.string(), marker.string(), std::to_string(kReaderSeconds)},
                             folder.path(), 120s);
    });

  // Versions 1, 2, ... are committed; every other round also writes a version that is rolled
  // back after its pages went to the file.
  int version = 0;
  const auto writeUntil = std::chrono::steady_clock::now() + std::chrono::seconds(kReaderSeconds / 2);
  for (int round = 0; std::chrono::steady_clock::now() < writeUntil; ++round) {
    const bool keep = round % 2 == 0;
    const int next = keep ? version + 1 : 1000 + round;
    if (exec(writer, "BEGIN IMMEDIATE") != SQLITE_OK) continue;
    std::string update = "UPDATE dict_word SET w_explain = 'v" + std::to_string(next) +
                         "' || substr(w_explain, instr(w_explain, ' '))";
    const int rc = exec(writer, update);
    if (keep && rc == SQLITE_OK && exec(writer, "COMMIT") == SQLITE_OK) {
      version = next;
    } else {
      exec(writer, "ROLLBACK");
    }
    std::this_thread::sleep_for(50ms);
  }
  ASSERT_GT(version, 0) << "the writer never committed";
  ASSERT_EQ(checkRows(writer, version), "");

  int rekey = SQLITE_BUSY;
  for (int attempt = 0; attempt < 5 && rekey != SQLITE_OK; ++attempt) {
    qt::HangGuard guard("rekey", 60s);
    rekey = sqlite3_rekey(writer, qt::kConcurrentNewKey,
                          static_cast<int>(std::strlen(qt::kConcurrentNewKey)));
  }
  if (rekey == SQLITE_OK) std::ofstream(marker).put('\n');
  sqlite3_close(writer);

  for (std::thread& t : threads) t.join();
  long notADatabase = 0;
  for (const qt::ChildRun& run : runs) {
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.signal, 0) << run.err;
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("ok="), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("ok=0 "), std::string::npos) << "a reader never read: " << run.out;
    if (auto at = run.out.find("notadb="); at != std::string::npos)
      notADatabase += std::atol(run.out.c_str() + at + 7);
    std::printf("[ reader   ] %s", run.out.c_str());
  }
  EXPECT_EQ(rekey, SQLITE_OK) << "the rekey never got its write transaction";
  if (rekey == SQLITE_OK) {
    EXPECT_GT(notADatabase, 0) << "no reader saw the old key stop working";
  }

  // Afterwards the file opens under exactly one key and holds the last committed version.
  const char* liveKey = rekey == SQLITE_OK ? qt::kConcurrentNewKey : qt::kConcurrentKey;
  const char* deadKey = rekey == SQLITE_OK ? qt::kConcurrentKey : qt::kConcurrentNewKey;
  sqlite3* db = openKeyed(path, liveKey, SQLITE_OPEN_READONLY);
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(checkRows(db, version), "");
  sqlite3_close(db);
  db = openKeyed(path, deadKey, SQLITE_OPEN_READONLY);
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(checkRows(db, version), sqlite3_errstr(SQLITE_NOTADB));
  sqlite3_close(db);
  EXPECT_FALSE(fs::exists(folder.path() / "words.db-journal"));
}

}  // namespace
