// Several reader processes read one keyed dictionary while this process writes to it (commits
// and rollbacks that spill pages into the file) and finally rekeys it, in steps fixed by
// handshake files. Readers must only ever see the whole last committed version of the rows,
// SQLITE_BUSY while a write has the file, and after the rekey SQLITE_NOTADB ("file is not a
// database").
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
    if (problem.empty() &&
        (id != rows || !caption || !explain || qt::concurrentCaption(id) != caption ||
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
  ASSERT_EQ(quorvi::codec::registerCodecVfs(), SQLITE_OK);

  sqlite3* writer = openKeyed(path, qt::kConcurrentKey, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  ASSERT_NE(writer, nullptr);
  ASSERT_EQ(exec(writer,
                 "PRAGMA page_size=1024; CREATE TABLE dict_word (w_id INTEGER PRIMARY KEY,"
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

  // Each round the writer opens a transaction whose pages spill into the file, lets every reader
  // read, then commits it (odd rounds) or rolls it back (even rounds) and lets every reader check
  // the settled rows. Finally it rekeys the file and every reader must find the old key dead.
  constexpr int kReaders = 4;
  std::vector<std::thread> threads;
  std::vector<qt::ChildRun> runs(kReaders);
  for (int i = 0; i < kReaders; ++i)
    threads.emplace_back([&, i] {
      runs[i] = qt::runChild(QUORVI_CONCURRENT_READER,
                             {path.string(), folder.path().string(), std::to_string(i)},
                             folder.path(), 120s);
    });
  auto everyReader = [&](const std::string& step, int round) {
    for (int i = 0; i < kReaders; ++i)
      if (!qt::waitForStep(folder.path() / qt::handshakeName(step, round, i))) return false;
    return true;
  };

  int version = 0;
  bool inStep = true;
  for (int round = 1; round <= qt::kConcurrentRounds && inStep; ++round) {
    const bool keep = round % 2 == 1;
    const int next = keep ? version + 1 : 1000 + round;
    ASSERT_EQ(exec(writer, "BEGIN IMMEDIATE"), SQLITE_OK) << sqlite3_errmsg(writer);
    ASSERT_EQ(exec(writer, "UPDATE dict_word SET w_explain = 'v" + std::to_string(next) +
                               "' || substr(w_explain, instr(w_explain, ' '))"),
              SQLITE_OK)
        << sqlite3_errmsg(writer);
    qt::signalStep(folder.path() / qt::handshakeName("spilled", round));
    inStep = everyReader("read", round);
    if (keep) {
      ASSERT_EQ(exec(writer, "COMMIT"), SQLITE_OK) << sqlite3_errmsg(writer);
      version = next;
    } else {
      ASSERT_EQ(exec(writer, "ROLLBACK"), SQLITE_OK) << sqlite3_errmsg(writer);
    }
    qt::signalStep(folder.path() / qt::handshakeName("settled", round), std::to_string(version));
    inStep = inStep && everyReader("checked", round);
  }
  EXPECT_TRUE(inStep) << "a reader stopped answering the handshake";
  ASSERT_EQ(checkRows(writer, version), "");

  int rekey = SQLITE_BUSY;
  {
    qt::HangGuard guard("rekey", 60s);
    rekey = sqlite3_rekey(writer, qt::kConcurrentNewKey,
                          static_cast<int>(std::strlen(qt::kConcurrentNewKey)));
  }
  EXPECT_EQ(rekey, SQLITE_OK) << "the rekey failed while every reader was idle";
  qt::signalStep(folder.path() / "rekeyed");
  sqlite3_close(writer);

  for (std::thread& t : threads) t.join();
  for (const qt::ChildRun& run : runs) {
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.signal, 0) << run.err;
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::printf("[ reader   ] %s", run.out.c_str());
  }

  // Afterwards the file opens under exactly one key and holds the last committed version.
  const char* liveKey = qt::kConcurrentNewKey;
  const char* deadKey = qt::kConcurrentKey;
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
