// When a key may be given: not inside a transaction, not after the database was read under
// other keys, and never to a database shared through a shared cache; and what the key pragmas
// answer.
#include "codec_db_support.h"

namespace quorvi::codec::testing {
namespace {

class KeyRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setUpCodecVfs();
    Db db(path, "k1");
    fillTable(db, 60);
    expected = digest(db);
  }
  // The file opens under k1 only, intact, with `rows` rows.
  void expectWholeUnderK1(const std::string& rows, const std::string& where) {
    Db db(path, "k1");
    EXPECT_EQ(db.query("PRAGMA integrity_check"), "ok") << where;
    EXPECT_EQ(db.query("SELECT count(*) FROM t"), rows) << where;
    EXPECT_EQ(Db(path, "k2").query("SELECT count(*) FROM t"), kNotADatabase) << where;
  }
  quorvi::testing::TemporaryFolder dir;
  const std::string path = dir.file("rules.db");
  std::string expected;
};

TEST_F(KeyRulesTest, KeyInsideATransactionIsRefusedAndTheCommitStaysUnderTheOldKey) {
  for (const char* mode : {"delete", "wal"}) {
    {
      Db db(path, "k1");
      ASSERT_EQ(db.query(std::string("PRAGMA journal_mode=") + mode), mode);
      ASSERT_EQ(db.exec("BEGIN; INSERT INTO t(b) VALUES('in the transaction')"), SQLITE_OK);
      EXPECT_EQ(db.exec("PRAGMA key='k2'"), SQLITE_ERROR) << mode;
      EXPECT_STREQ(sqlite3_errmsg(db.get()), "cannot change the key inside a transaction");
      EXPECT_EQ(db.exec("PRAGMA hexkey='6b32'"), SQLITE_ERROR) << mode;
      EXPECT_EQ(sqlite3_key(db.get(), "k2", 2), SQLITE_ERROR) << mode;
      EXPECT_STREQ(sqlite3_errmsg(db.get()), "cannot change the key inside a transaction");
      EXPECT_EQ(db.exec("PRAGMA key='k1'"), SQLITE_OK) << mode;  // the key it has: nothing changes
      ASSERT_EQ(db.exec("COMMIT"), SQLITE_OK);
      ASSERT_EQ(db.query("PRAGMA journal_mode=delete"), "delete");
    }
    expectWholeUnderK1("61", mode);
    ASSERT_EQ(Db(path, "k1").exec("DELETE FROM t WHERE b = 'in the transaction'"), SQLITE_OK);
  }
}

TEST_F(KeyRulesTest, AnotherKeyAfterReadingIsRefusedButAWrongFirstKeyCanBeReplaced) {
  {
    Db db(path, "k1");
    ASSERT_EQ(digest(db), expected);
    EXPECT_EQ(db.exec("PRAGMA key='k2'"), SQLITE_ERROR);
    EXPECT_STREQ(sqlite3_errmsg(db.get()), "the database was already read under another key");
    EXPECT_EQ(sqlite3_key(db.get(), "k2", 2), SQLITE_ERROR);
    EXPECT_EQ(db.exec("INSERT INTO t(b) VALUES('after the refusal')"), SQLITE_OK);
  }
  expectWholeUnderK1("61", "after a refused key");
  Db db(path, "wrong");
  EXPECT_EQ(db.query("SELECT count(*) FROM t"), kNotADatabase);
  EXPECT_EQ(db.exec("PRAGMA key='k1'"), SQLITE_OK);
  EXPECT_EQ(db.query("SELECT count(*) FROM t"), "61");
}

// In WAL mode page 1 can come from the log instead of the database file; it counts as a read
// all the same.
TEST_F(KeyRulesTest, AnotherKeyAfterReadingThroughTheWalIsRefused) {
  Db writer(path, "k1");
  ASSERT_EQ(writer.query("PRAGMA journal_mode=wal"), "wal");
  ASSERT_EQ(
      writer.exec(
          "PRAGMA wal_autocheckpoint=0; CREATE TABLE u(v); INSERT INTO t(b) VALUES('in the log')"),
      SQLITE_OK);
  {
    Db db(path, "k1");
    ASSERT_EQ(db.query("SELECT count(*) FROM t"), "61");
    EXPECT_EQ(db.exec("PRAGMA key='k2'"), SQLITE_ERROR);
    EXPECT_STREQ(sqlite3_errmsg(db.get()), "the database was already read under another key");
    EXPECT_EQ(sqlite3_key(db.get(), "k2", 2), SQLITE_ERROR);
    EXPECT_EQ(db.exec("INSERT INTO t(b) VALUES('after the refusal')"), SQLITE_OK);
    EXPECT_EQ(writer.query("SELECT count(*) FROM t"), "62");
  }
  ASSERT_EQ(writer.query("PRAGMA journal_mode=delete"), "delete");
  expectWholeUnderK1("62", "after a refused key in WAL mode");
}

// An empty key pragma does not take the key away from a keyed database (that is rekey's job);
// on a plain one it asks for nothing new.
TEST_F(KeyRulesTest, AnEmptyKeyPragmaIsRefusedOnAKeyedDatabase) {
  {
    Db db(path, "k1");
    for (const char* pragma : {"PRAGMA key=''", "PRAGMA hexkey=''"}) {
      EXPECT_EQ(db.exec(pragma), SQLITE_ERROR) << pragma;
      EXPECT_STREQ(sqlite3_errmsg(db.get()),
                   "an empty key cannot replace a key: rekey='' writes the database plain");
    }
    EXPECT_EQ(digest(db), expected);
  }
  const std::string plain = dir.file("plain.db");
  Db db(plain);
  EXPECT_EQ(db.query("PRAGMA key=''"), "ok");
  fillTable(db, 5);
  EXPECT_EQ(Db(plain, nullptr, SQLITE_OPEN_READONLY, "unix").query("SELECT count(*) FROM t"), "5");
}

// Python's sqlite3 needs a named result column; the pragmas answer "ok" when they took effect.
TEST_F(KeyRulesTest, KeyPragmasAnswerOneNamedRow) {
  Db db(path);
  for (const char* sql :
       {"PRAGMA key='k1'", "PRAGMA hexkey='6b31'", "PRAGMA rekey='k2'", "PRAGMA hexrekey='6b31'"}) {
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db.get(), sql, -1, &stmt, nullptr), SQLITE_OK) << sql;
    ASSERT_EQ(sqlite3_column_count(stmt), 1) << sql;
    EXPECT_STREQ(sqlite3_column_name(stmt, 0), "ok") << sql;
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW) << sql;
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), "ok") << sql;
    sqlite3_finalize(stmt);
  }
  EXPECT_EQ(digest(db), expected);
}

// A keyed file is never shared: a connection that asks for the shared cache gets a cache of its
// own, so it reads nothing without the key, whatever it does to its own settings, and the first
// connection goes on as before.
TEST_F(KeyRulesTest, SharedCacheConnectionsNeverReachAKeyedDatabase) {
  Db first("file:" + path + "?cache=shared&key=k1");
  ASSERT_EQ(digest(first), expected);
  ASSERT_EQ(first.exec("BEGIN; INSERT INTO t(b) VALUES('still writable')"), SQLITE_OK);
  for (const char* uri : {"?cache=shared", "?cache=shared&key=wrong"}) {
    Db second("file:" + path + uri);
    sqlite3_set_authorizer(second.get(), nullptr, nullptr);
    EXPECT_EQ(second.query("SELECT group_concat(b) FROM t"), kNotADatabase) << uri;
    EXPECT_NE(second.exec("INSERT INTO t(b) VALUES('planted')"), SQLITE_OK) << uri;
    EXPECT_NE(second.exec("PRAGMA rekey='k3'"), SQLITE_OK) << uri;
  }
  {
    // An application's own authorizer stays in place and is asked as usual.
    Db second("file:" + path + "?cache=shared");
    int asked = 0;
    sqlite3_set_authorizer(
        second.get(),
        [](void* count, int, const char*, const char*, const char*, const char*) {
          ++*static_cast<int*>(count);
          return SQLITE_OK;
        },
        &asked);
    EXPECT_EQ(second.query("SELECT count(*) FROM t"), kNotADatabase);
    EXPECT_GT(asked, 0);
  }
  ASSERT_EQ(first.exec("COMMIT"), SQLITE_OK);
  {
    // The right key reads, through a cache of its own: the committed row is on disk.
    Db second("file:" + path + "?cache=shared&key=k1");
    EXPECT_EQ(second.query("SELECT count(*) FROM t"), "61");
    Db third("file:" + path + "?cache=shared");
    EXPECT_EQ(third.exec("PRAGMA key='k1'"), SQLITE_OK);
    EXPECT_EQ(third.query("SELECT count(*) FROM t"), "61");
  }
  EXPECT_EQ(first.query("SELECT count(*) FROM t"), "61");
  expectWholeUnderK1("61", "after the shared-cache attempts");
}

// A key given afterwards counts as well: once the connection holding the file has keyed it,
// shared-cache connections opened later get caches of their own.
TEST_F(KeyRulesTest, ADatabaseKeyedAfterItsOpenIsNotSharedLater) {
  Db first("file:" + path + "?cache=shared");
  ASSERT_EQ(sqlite3_key(first.get(), "k1", 2), SQLITE_OK);
  ASSERT_EQ(digest(first), expected);
  Db second("file:" + path + "?cache=shared");
  sqlite3_set_authorizer(second.get(), nullptr, nullptr);
  EXPECT_EQ(second.query("SELECT count(*) FROM t"), kNotADatabase);
}

// A connection that brings a key to a file another connection shares plain keeps its key: it
// does not join the plain cache and write the file plain.
TEST_F(KeyRulesTest, AKeyedConnectionDoesNotJoinAPlainSharedCache) {
  const std::string plain = dir.file("plain.db");
  fillTable(Db(plain), 30);
  Db first("file:" + plain + "?cache=shared");
  ASSERT_EQ(first.query("SELECT count(*) FROM t"), "30");
  Db keyed("file:" + plain + "?cache=shared&key=k1");
  EXPECT_EQ(keyed.query("SELECT count(*) FROM t"), kNotADatabase);
  EXPECT_EQ(keyed.exec("INSERT INTO t(b) VALUES('meant to be encrypted')"), SQLITE_NOTADB);
  EXPECT_EQ(first.query("SELECT count(*) FROM t"), "30");
}

// A plain file shared by two connections cannot be keyed, and the connection that joined last
// may close first: the key pragmas on the other one must not use it.
TEST_F(KeyRulesTest, ASharedPlainDatabaseCannotBeKeyed) {
  const std::string plain = dir.file("plain.db");
  fillTable(Db(plain), 30);
  Db first("file:" + plain + "?cache=shared");
  {
    Db second("file:" + plain + "?cache=shared");
    EXPECT_EQ(second.query("SELECT count(*) FROM t"), "30");
  }
  EXPECT_EQ(first.exec("PRAGMA rekey='k2'"), SQLITE_ERROR);
  EXPECT_STREQ(sqlite3_errmsg(first.get()),
               "cannot rekey a database shared with other connections");
  EXPECT_EQ(first.exec("PRAGMA key='k2'"), SQLITE_ERROR);
  EXPECT_EQ(sqlite3_rekey(first.get(), "k2", 2), SQLITE_ERROR);
  EXPECT_EQ(first.query("SELECT count(*) FROM t"), "30");
  EXPECT_EQ(Db(plain).query("PRAGMA integrity_check"), "ok");
}

}  // namespace
}  // namespace quorvi::codec::testing
