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

// A keyed file is never shared: a second shared-cache connection reads nothing, whatever key
// it brings, and the first one goes on as before.
TEST_F(KeyRulesTest, SharedCacheConnectionsNeverReadAKeyedDatabase) {
  Db first("file:" + path + "?cache=shared&key=k1");
  ASSERT_EQ(digest(first), expected);
  for (const char* uri : {"?cache=shared", "?cache=shared&key=wrong", "?cache=shared&key=k1"}) {
    Db second("file:" + path + uri);
    EXPECT_EQ(second.query("SELECT group_concat(b) FROM t"), "ERROR: not authorized") << uri;
    EXPECT_NE(second.exec("PRAGMA key='k1'"), SQLITE_OK) << uri;
    EXPECT_NE(second.exec("PRAGMA rekey='k3'"), SQLITE_OK) << uri;
  }
  // Keying from the second connection while the first has a transaction open ruined the file.
  ASSERT_EQ(first.exec("BEGIN; INSERT INTO t(b) VALUES('still writable')"), SQLITE_OK);
  {
    Db second("file:" + path + "?cache=shared");
    EXPECT_EQ(second.exec("PRAGMA key='k2'"), SQLITE_AUTH);
    EXPECT_EQ(sqlite3_key(second.get(), "k2", 2), SQLITE_ERROR);
  }
  ASSERT_EQ(first.exec("COMMIT"), SQLITE_OK);
  EXPECT_EQ(first.query("SELECT count(*) FROM t"), "61");
  expectWholeUnderK1("61", "after the shared-cache attempts");
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
