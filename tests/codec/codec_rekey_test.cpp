// Rekey transitions, and what I/O failures and crashes in the middle of a rekey or an ordinary
// transaction leave behind.
#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "codec/page_format.h"
#include "codec_db_support.h"

namespace quorvi::codec::testing {
namespace {

namespace fs = std::filesystem;

struct Transition {
  const char* from;  // null = plain
  const char* to;
};
const Transition kTransitions[] = {
    {nullptr, "new key"}, {"old key", "new key"}, {"old key", nullptr}};

std::string name(const Transition& t) {
  return std::string(t.from ? "keyed" : "plain") + "->" + (t.to ? "keyed" : "plain");
}

int rekey(sqlite3* db, const char* key) {
  return sqlite3_rekey(db, key, key != nullptr ? static_cast<int>(std::strlen(key)) : 0);
}

class RekeyTest : public ::testing::Test {
 protected:
  void SetUp() override { setUpCodecVfs(); }

  // A template database under `key`; returns its digest.
  std::string makeTemplate(const char* key, int rows = 300) {
    Db db(templatePath(), key);
    EXPECT_EQ(db.exec("PRAGMA cache_size=8"), SQLITE_OK);
    fillTable(db, rows);
    return digest(db);
  }
  std::string templatePath() const { return dir.file("template.db"); }
  std::string fresh() const {
    fs::copy_file(templatePath(), dir.file("work.db"), fs::copy_options::overwrite_existing);
    fs::remove(dir.file("work.db-journal"));
    return dir.file("work.db");
  }
  // The database opens with `key` (or plain), is intact and holds `expected`; other keys fail.
  void expectUnder(const std::string& path, const char* key, const std::string& expected,
                   const std::string& where) {
    Db db(path, key);
    EXPECT_EQ(db.query("PRAGMA integrity_check"), "ok") << where;
    EXPECT_EQ(digest(db), expected) << where;
    Db other(path, key != nullptr ? nullptr : "some key");
    EXPECT_EQ(other.query("SELECT count(*) FROM t"), kNotADatabase) << where;
  }
  // Calls `attempt(k, path, finished)` for k = 1, 1 + step, ... with `path` a fresh copy of the
  // template, until the attempt sets `finished`: the operation it runs with the k-th write
  // failing got through. False, to end the test, once a check has failed.
  template <typename Attempt>
  bool untilFinished(long step, Attempt attempt) {
    bool finished = false;
    for (long k = 1; k < 1000 && !finished; k += step) {
      attempt(k, fresh(), finished);
      if (HasFailure()) return false;
    }
    EXPECT_TRUE(finished);
    return true;
  }

  quorvi::testing::TemporaryFolder dir;
};

TEST_F(RekeyTest, TransitionsRewriteEveryPage) {
  for (const Transition& t : kTransitions) {
    const std::string expected = makeTemplate(t.from);
    const std::string path = fresh();
    {
      Db db(path, t.from);
      ASSERT_EQ(rekey(db.get(), t.to), SQLITE_OK) << name(t);
      EXPECT_EQ(digest(db), expected) << name(t);  // the same connection goes on working
      ASSERT_EQ(db.exec("INSERT INTO t(b) VALUES('after')"), SQLITE_OK);
    }
    Db check(path, t.to);
    EXPECT_EQ(check.query("SELECT count(*) FROM t WHERE b = 'after'"), "1") << name(t);
    ASSERT_EQ(check.exec("DELETE FROM t WHERE b = 'after'"), SQLITE_OK);
    expectUnder(path, t.to, expected, name(t));
    fs::remove(templatePath());
  }
}

TEST_F(RekeyTest, PragmasAndTrivialCases) {
  const std::string expected = makeTemplate(nullptr);
  const std::string path = fresh();
  {
    Db db(path);
    EXPECT_EQ(rekey(db.get(), nullptr), SQLITE_OK);  // plain stays plain
    EXPECT_EQ(db.exec("PRAGMA hexrekey='0001ff'"), SQLITE_OK);
    EXPECT_EQ(db.exec("PRAGMA hexrekey='0g'"), SQLITE_ERROR);
    EXPECT_STREQ(sqlite3_errmsg(db.get()), "invalid hex key");
  }
  expectUnder("file:" + path + "?hexkey=0001FF", nullptr, expected, "hexrekey");
  {
    Db db("file:" + path + "?hexkey=0001ff");
    EXPECT_EQ(db.exec("PRAGMA rekey='text key'"), SQLITE_OK);
  }
  expectUnder(path, "text key", expected, "rekey pragma");
  {
    Db db(path, "text key");
    EXPECT_EQ(db.exec("PRAGMA rekey=''"), SQLITE_OK);
  }
  expectUnder(path, nullptr, expected, "decrypted by pragma");
}

TEST_F(RekeyTest, BlockedRekeyKeepsTheOldKey) {
  const std::string expected = makeTemplate("old key");
  const std::string path = fresh();
  Db db(path, "old key");
  Db other(path, "old key");
  ASSERT_EQ(other.exec("BEGIN IMMEDIATE"), SQLITE_OK);
  EXPECT_EQ(rekey(db.get(), "new key"), SQLITE_BUSY);
  ASSERT_EQ(other.exec("ROLLBACK"), SQLITE_OK);
  EXPECT_EQ(digest(db), expected);
  ASSERT_EQ(db.exec("INSERT INTO t(b) VALUES('x'); DELETE FROM t WHERE b = 'x'"), SQLITE_OK);
  EXPECT_EQ(digest(other), expected);
}

// The k-th write fails (once, or from then on) for every k up to the point where the rekey no
// longer notices: the database must be whole under its old key, or whole under the new one.
TEST_F(RekeyTest, FailedWritesLeaveOneKey) {
  for (const Transition& t : kTransitions) {
    const std::string expected = makeTemplate(t.from, 120);
    for (bool persistent : {false, true}) {
      const bool goesOn = untilFinished(1, [&](long k, const std::string& path, bool& finished) {
        const std::string where =
            name(t) + (persistent ? " persistent" : " once") + " k=" + std::to_string(k);
        {
          Db db(path, t.from);
          armFault(k, persistent);
          finished = rekey(db.get(), t.to) == SQLITE_OK;
          disarmFault();
          if (!finished) {
            EXPECT_EQ(digest(db), expected) << where;  // usable at once, under the old key
          }
        }
        expectUnder(path, finished ? t.to : t.from, expected, where);
      });
      if (!goesOn) return;
    }
    fs::remove(templatePath());
  }
}

TEST_F(RekeyTest, FailedWritesInOrdinaryTransactionsChangeNothing) {
  const std::string expected = makeTemplate("k", 120);
  untilFinished(1, [&](long k, const std::string& path, bool& finished) {
    {
      Db db(path, "k");
      ASSERT_EQ(db.exec("PRAGMA cache_size=4"), SQLITE_OK);
      armFault(k, k % 2 == 0);
      finished = db.exec("UPDATE t SET b = b || ' changed', c = zeroblob(900)") == SQLITE_OK;
      disarmFault();
    }
    if (!finished) expectUnder(path, "k", expected, "k=" + std::to_string(k));
  });
}

// A memory journal, no journal or a WAL would not protect the rewrite; the rekey runs under a
// rollback journal on disk all the same and gives the connection its journal mode back.
TEST_F(RekeyTest, OtherJournalModesRekeyUnderARollbackJournal) {
  for (const char* mode : {"memory", "off", "wal"}) {
    const std::string expected = makeTemplate("old key", 120);
    if (std::string(mode) == "wal") {
      ASSERT_EQ(Db(templatePath(), "old key").query("PRAGMA journal_mode=wal"), "wal");
    }
    const bool goesOn = untilFinished(4, [&](long k, const std::string& path, bool& finished) {
      const std::string where = std::string(mode) + " k=" + std::to_string(k);
      {
        Db db(path, "old key");
        ASSERT_EQ(db.query(std::string("PRAGMA journal_mode=") + mode), mode);
        armFault(k);
        finished = rekey(db.get(), "new key") == SQLITE_OK;
        disarmFault();
        if (finished) {
          EXPECT_EQ(db.query("PRAGMA journal_mode"), mode) << where;
        }
      }
      expectUnder(path, finished ? "new key" : "old key", expected, where);
    });
    if (!goesOn) return;
    fs::remove(templatePath());
  }
}

// A process killed at the k-th write of a rekey leaves a hot journal; the next open with the
// old key rolls it back to the old content under the old key.
TEST_F(RekeyTest, KilledRekeyRecoversUnderTheOldKey) {
  const std::string expected = makeTemplate("old key", 120);
  untilFinished(3, [&](long k, const std::string& path, bool& finished) {
    pid_t child = fork();
    if (child == 0) {
      Db db(path, "old key");
      armFault(k, false, true);
      _exit(rekey(db.get(), "new key") == SQLITE_OK ? 2 : 3);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    finished = WEXITSTATUS(status) == 2;
    expectUnder(path, finished ? "new key" : "old key", expected, "k=" + std::to_string(k));
  });
}

}  // namespace
}  // namespace quorvi::codec::testing

namespace quorvi::codec::testing {
namespace {

// True when some page image in `journal` decrypts under `key` (or reads plain for a null key) to
// a page holding the text of table t's rows.
bool journalHoldsRows(const std::vector<std::uint8_t>& journal, const char* key,
                      std::size_t pageSize) {
  const std::string marker = "seed 1";
  auto holds = [&](const std::uint8_t* p) {
    return std::search(p, p + pageSize, marker.begin(), marker.end()) != p + pageSize;
  };
  if (key == nullptr) return !journal.empty() && holds(journal.data());
  const DatabaseKey derived = deriveDatabaseKey(key, static_cast<int>(std::strlen(key)));
  AesCipher cipher;
  std::vector<std::uint8_t> image(pageSize);
  for (std::size_t off = 4; off + pageSize <= journal.size(); off += 4) {
    const std::uint8_t* field = &journal[off - 4];
    const std::uint32_t page =
        (std::uint32_t(field[0]) << 24) | (field[1] << 16) | (field[2] << 8) | field[3];
    if (page == 0 || page > 1000) continue;
    cryptPage(cipher, derived, page, CryptDirection::Decrypt, &journal[off], image.data(),
              pageSize);
    if (holds(image.data())) return true;
  }
  return false;
}

std::vector<std::uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Journals that outlive a transaction (PERSIST, or any rollback journal under exclusive locking)
// must not keep the old pages, plain or under the old key, once the rekey is done.
TEST(RekeyJournalTest, NoJournalKeepsOldPagesAfterARekey) {
  setUpCodecVfs();
  const char* const setups[][2] = {{"persist", "normal"},
                                   {"persist", "exclusive"},
                                   {"delete", "exclusive"},
                                   {"truncate", "exclusive"}};
  for (const Transition& t : {Transition{nullptr, "k2"}, Transition{"k1", "k2"}}) {
    for (const auto& setup : setups) {
      const std::string where = name(t) + " " + setup[0] + " " + setup[1];
      quorvi::testing::TemporaryFolder dir;
      const std::string path = dir.file("j.db");
      {
        Db db(path, t.from);
        ASSERT_EQ(db.query(std::string("PRAGMA journal_mode=") + setup[0]), setup[0]);
        ASSERT_EQ(db.query(std::string("PRAGMA locking_mode=") + setup[1]), setup[1]);
        fillTable(db, 300);
        ASSERT_EQ(db.exec("UPDATE t SET b = b || ' changed'"),
                  SQLITE_OK);  // a journal full of rows
        ASSERT_EQ(rekey(db.get(), t.to), SQLITE_OK) << where;
        EXPECT_EQ(db.query("PRAGMA journal_mode"), setup[0]) << where;
        ASSERT_EQ(db.exec("INSERT INTO t(b) VALUES('after the rekey')"), SQLITE_OK);
      }
      const auto journal = fileBytes(path + "-journal");
      EXPECT_FALSE(journalHoldsRows(journal, nullptr, 4096))
          << where << ": plain rows in the journal";
      if (t.from != nullptr) {
        EXPECT_FALSE(journalHoldsRows(journal, t.from, 4096)) << where << ": old key";
      }
      EXPECT_EQ(Db(path, t.to).query("PRAGMA integrity_check"), "ok") << where;
    }
  }
}

// A rekey that fails says why in sqlite3_errmsg.
TEST(RekeyErrorTest, FailedRekeysSayWhy) {
  setUpCodecVfs();
  quorvi::testing::TemporaryFolder dir;
  const std::string path = dir.file("e.db");
  fillTable(Db(path, "k1"), 50);
  {
    Db readOnly(path, "k1", SQLITE_OPEN_READONLY);
    EXPECT_EQ(rekey(readOnly.get(), "k2"), SQLITE_READONLY);
    EXPECT_STREQ(sqlite3_errmsg(readOnly.get()), "cannot rekey a read-only database");
  }
  Db db(path, "k1");
  sqlite3_stmt* pending = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db.get(), "SELECT b FROM t", -1, &pending, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(pending), SQLITE_ROW);
  EXPECT_NE(rekey(db.get(), "k2"), SQLITE_OK);
  EXPECT_STRNE(sqlite3_errmsg(db.get()), sqlite3_errstr(SQLITE_OK));
  EXPECT_EQ(db.exec("PRAGMA rekey='k2'"), SQLITE_ERROR);
  EXPECT_STRNE(sqlite3_errmsg(db.get()), sqlite3_errstr(SQLITE_OK));
  sqlite3_finalize(pending);
  EXPECT_EQ(Db(path, "k1").query("SELECT count(*) FROM t"), "50");
}

// The temp schema has nothing on disk to key: once it has a file, the key pragmas sent to it
// are refused instead of doing nothing.
TEST(RekeyErrorTest, TheTempSchemaTakesNoKey) {
  setUpCodecVfs();
  quorvi::testing::TemporaryFolder dir;
  Db db(dir.file("t.db"), "k1");
  ASSERT_EQ(db.exec("PRAGMA temp.cache_size=2; CREATE TEMP TABLE scratch(a)"), SQLITE_OK);
  fillTable(db, 10);
  ASSERT_EQ(db.exec("INSERT INTO scratch SELECT zeroblob(900) FROM t, t AS u"),
            SQLITE_OK);  // spills to the file
  for (const char* pragma : {"rekey='k2'", "key='k2'", "hexrekey='6b32'"}) {
    EXPECT_EQ(db.exec(std::string("PRAGMA temp.") + pragma), SQLITE_ERROR) << pragma;
    EXPECT_STREQ(sqlite3_errmsg(db.get()), "a temporary database takes no key");
  }
  EXPECT_EQ(db.query("SELECT count(*) FROM t"), "10");
}

}  // namespace
}  // namespace quorvi::codec::testing
